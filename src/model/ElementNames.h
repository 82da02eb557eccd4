#pragma once

#include <string>
#include <vector>

class Schematic;
class TBaseElement;

// Short names derived from an element's class and its place in `Elements`
// ("R3", "M1"), never stored in the file: the sheet's labels, the run's
// messages and the names of the recorded signals all use them.

// "R", "C", "M", "A"...; empty for elements that are not named (ground).
std::string ClassLetter(const TBaseElement& element);
// One name per element, in `Elements` order: letter and number ("R3"),
// numbered per letter; empty where the class has no letter.
std::vector<std::string> DerivedNames(const Schematic& sheet);

// What a machine's output option (its "vv" row) stands for, as a name and
// unit: "w,рад/с" is "скорость, рад/с". An option not known here is given
// as it stands, without its padding.
std::string OutputOptionQuantity(const std::string& option);
