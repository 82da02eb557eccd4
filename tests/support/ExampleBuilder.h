#pragma once

#include <string>
#include <vector>

#include "model/Geometry.h"

class Schematic;
class TBaseElement;
class TConnector;

// Draws example schematics the way a user does: elements placed on the
// sheet, wires dragged from pins, links dragged from outputs. Pins are
// addressed by the sheet position of their centres so that layouts read
// like a drawing.
class ExampleBuilder {
public:
    explicit ExampleBuilder(Schematic& sheet) : sheet_(sheet) {}

    // Places an element so that the named pin's centre lands on `at`,
    // turned by `angle` first.
    TBaseElement* Place(const std::string& cls, const char* pin, TPoint at, int angle = 0);
    // Places an element with its box at (left, top).
    TBaseElement* PlaceBox(const std::string& cls, int left, int top);
    // Drags a wire from the pin and releases it at `to`.
    void Drag(TBaseElement* e, const char* pin, TPoint to);
    // Drags a link from an element's first output to another's input.
    void Link(TBaseElement* from, TBaseElement* to, int input = 0);
    static void Set(TBaseElement* e, const char* param, double value, int unit = -1);

private:
    Schematic& sheet_;
};

// An example file and the function that draws it.
struct ExampleGenerator {
    const char* File;
    void (*Build)(Schematic&);
};

// Draws every example, saves it and expects the committed file's bytes;
// with QUENTOR_REGENERATE_EXAMPLES set the committed files are rewritten.
void ExpectGeneratorsReproduce(const std::vector<ExampleGenerator>& generators);

// Runs an example file of examples/ with its own settings (at most 100
// Newton iterations a step) and returns, per line of graf.dat, the time
// followed by the last `consumers` numbers: the consumer inputs.
std::vector<std::vector<double>> RunExampleConsumers(const std::string& name, int consumers);

// Saves the schematic into `path`; with QUENTOR_REGENERATE_EXAMPLES set, also
// into the source tree's examples/ folder under `name`.
std::string SaveExample(Schematic& sheet, const std::string& dir, const std::string& name);

// The bytes of a file.
std::string FileBytes(const std::string& path);
std::string ExamplePath(const std::string& name);
