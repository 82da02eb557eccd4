#pragma once

#include <string>
#include <vector>

#include "model/TBaseElement.h"

// Every concrete element class of the program (the test classes left out).
std::vector<std::string> ConcreteClassNames();

// The orientations the editor can give an element: turned by the rotate
// command 0 to 3 times, or mirrored either way.
struct Orientation {
    const char* name;
    int turns;
    bool xflip;
    bool yflip;
};
const std::vector<Orientation>& Orientations();
void Orient(TBaseElement& e, const Orientation& o);

bool IsSignalOnly(const TBaseElement& e);
