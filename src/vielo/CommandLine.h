#pragma once

#include <string>
#include <vector>

struct VieloOptions {
    std::string GrpPath = "graf.grp";
    // Every file named, in order (GrpPath is the first): the runs of a sweep
    // shown together.
    std::vector<std::string> GrpPaths{"graf.grp"};
    std::string PicturePath; // --export: draw the chart into this file, no window
    std::string CsvPath;     // --csv: write the samples as text, no window
    int Width = 1200;        // --size of the picture
    int Height = 800;
    bool Stacked = false; // one plot per input
    bool Help = false;
    bool Version = false;

    bool Headless() const { return !PicturePath.empty() || !CsvPath.empty(); }
};

inline constexpr int MinPictureSide = 16;
inline constexpr int MaxPictureSide = 16384;

// args are the words after the program name. Returns an empty string on
// success, otherwise the reason to print.
std::string ParseCommandLine(const std::vector<std::string>& args, VieloOptions& options);

std::string UsageText();
