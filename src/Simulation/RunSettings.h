#pragma once

#include <string_view>

// The run parameters of a schematic: they travel with its file, and each
// run takes its own copy when its model is assembled.
struct TRunSettings {
    double T = 1.0;     // duration, seconds of model time
    double h = 1e-5;    // integration step
    double pr = 1e-7;   // increment of the numerical derivatives
    double TNC = 1e-6;  // bound on every residual component
    double GS = 0.01;   // output step
    // Write the debug dump even for a model too large to be read (it grows as
    // the square of the unknowns); not saved with the schematic.
    bool DumpLargeModels = false;
};

// Sets the setting of that name ("T", "h", "pr", "TNC", "GS"); false for
// any other name.
inline bool SetRunSetting(TRunSettings& s, std::string_view name, double value) {
    if (name == "T") s.T = value;
    else if (name == "h") s.h = value;
    else if (name == "pr") s.pr = value;
    else if (name == "TNC") s.TNC = value;
    else if (name == "GS") s.GS = value;
    else return false;
    return true;
}
