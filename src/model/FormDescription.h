#pragma once

#include <string>
#include <vector>

#include "model/TRotateableMetafile.h"

// A class's form: the pins it declares (in description order) and its
// picture. Forms are applied from the base class down to the concrete class;
// a pin re-declared under an inherited name only moves that pin.

enum class TPinKind { Electrical, Input, Output };

struct TFormPin {
    TPinKind Kind = TPinKind::Electrical;
    std::string Name;
    int Left = 0;
    int Top = 0;
    std::string Net;  // electrical pins only
};

struct TFormDescription {
    std::string ClassName;
    std::vector<TFormPin> Pins;
    // The picture; an empty one leaves the inherited picture in place.
    TPicture Picture;
    int ImageLeft = 0;
    int ImageTop = 0;
};

// Registers a form under its class name; a later registration replaces it.
void RegisterForm(TFormDescription form);
const TFormDescription* FindForm(const std::string& className);
std::vector<std::string> RegisteredFormNames();

// Convenience for form tables.
inline TFormPin E(std::string name, int left, int top) {
    return {TPinKind::Electrical, std::move(name), left, top, {}};
}
inline TFormPin I(std::string name, int left, int top) {
    return {TPinKind::Input, std::move(name), left, top, {}};
}
inline TFormPin O(std::string name, int left, int top) {
    return {TPinKind::Output, std::move(name), left, top, {}};
}
