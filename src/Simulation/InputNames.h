#pragma once

#include <string>
#include <vector>

class Schematic;

// The names of the recorded signals, for the viewer: "graf.names" beside
// "graf.grp", UTF-8, one line per consumer input in the file's column order:
// the input's number from 1, a tab, and its name, ended by LF. The name is
// the derived name of the element that feeds the input, then ": " and what
// its output stands for when that is known ("M1: скорость, рад/с",
// "PA1: ток, А", "A2"); an unlinked input has an empty name.
inline constexpr const char* InputNamesFile = "graf.names";

// One name per consumer, in registry order.
std::vector<std::string> ConsumerInputNames(const Schematic& sheet);

// The file's whole text for these names.
std::string InputNamesText(const std::vector<std::string>& names);

// Writes the file into `dir` (nothing when `dir` is empty); a file that
// cannot be written gives the message of the other result files on standard
// output and the run goes on without it.
void WriteInputNamesFile(const std::string& dir, const Schematic& sheet);
