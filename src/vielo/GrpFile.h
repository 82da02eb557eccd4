#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The binary plot file written at the end of a run. Little-endian: a 12-byte
// header (input count as int32, integer part of T / GS as int32, GS as
// float32), then per sample the time followed by one value per input, all
// float32. There is no sample count: samples run to the end of the file.

// More inputs than the sheet can hold sinks; a header claiming them is garbage.
inline constexpr std::int32_t MaxGrpInputs = 100000;

enum class GrpError {
    None,
    NotFound,
    Unreadable,
    Empty,
    ShortHeader,
    BadInputCount,
    BadTime,
};

struct GrpHeader {
    std::int32_t Inputs = 0;
    // The run planned StepCount + 1 samples; a stopped run writes fewer, and
    // the field overflows for very long runs, so it is only informative.
    std::int32_t StepCount = 0;
    float OutputStep = 0; // GS, seconds of model time between samples
};

struct GrpData {
    GrpHeader Header;
    std::vector<float> Times;
    std::vector<std::vector<float>> Values; // one column per input
    std::size_t IgnoredTailBytes = 0;       // a truncated last sample
    // The inputs' names, one per input (empty where the run could not name
    // one): from the side file, or, for several files shown together, each
    // prefixed by its run's variant; empty without a usable side file.
    std::vector<std::string> Names;

    int InputCount() const { return static_cast<int>(Values.size()); }
    std::size_t SampleCount() const { return Times.size(); }
    // The legend name of input i (from 0): its name from the side file, or
    // "Вход N".
    std::string InputName(int index) const;
};

struct GrpReadResult {
    GrpError Error = GrpError::None;
    std::string Message; // what to tell the user; empty on success
    // A readable file with nothing to plot (no inputs, or no samples):
    // worth telling the user, but not an error.
    std::string Warning;
    GrpData Data;

    bool Ok() const { return Error == GrpError::None; }
};

// The names of the inputs travel in a UTF-8 side file beside the plot file,
// named like it with the suffix ".names" ("graf.names" beside "graf.grp"):
// per input, in order, a line with its number from 1, a tab and its name.
std::string InputNamesPath(const std::string& grpPath);
// The names in such a text for a file of `inputs` inputs; empty when the
// text does not describe exactly those inputs (a line missing, out of order
// or malformed, a name that is not UTF-8 or holds control characters), so
// that a damaged file names nothing rather than the wrong curves.
std::vector<std::string> ParseInputNames(const std::string& text, int inputs);

// Decodes the bytes of a file; displayName names it in the messages.
GrpReadResult ParseGrp(const unsigned char* bytes, std::size_t size,
                       const std::string& displayName);
// Reads a file from disk, with the names of its side file when there is a
// usable one; messages name it by its file name without the directory.
GrpReadResult ReadGrpFile(const std::string& path);

// Most inputs one plot can show: beyond that the legend, the input list and
// the curve menu could neither hold nor tell them apart.
inline constexpr int MaxShownInputs = 200;

// Empty when the inputs can be shown; otherwise the message refusing them
// (the table export still takes any number).
std::string ShownInputsProblem(const GrpData& data, const std::string& displayName);

// The name of input i (from 0) when nothing names it: "Вход N".
std::string InputName(int index);

// What names the run a file came from: the first line of "variant.txt"
// beside it (a sweep writes the variant's parameter values there), else the
// name of its directory, else its file name.
std::string VariantLabel(const std::string& path);

// Several runs of one schematic shown together (the variants of a sweep):
// one file reads as ReadGrpFile; several become one set of inputs, each
// file's inputs named by its variant and their own names ("A4.K=0.5: Вход 1",
// "A4.K=0.5: M1: скорость, рад/с"), over the samples
// they all have. Files sampled at different times are refused.
GrpReadResult ReadGrpFiles(const std::vector<std::string>& paths);
