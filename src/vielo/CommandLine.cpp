#include "vielo/CommandLine.h"

#include <charconv>

namespace {

bool ParseSide(std::string_view text, int& side) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, side);
    return ec == std::errc() && ptr == end && side >= MinPictureSide && side <= MaxPictureSide;
}

bool ParseSize(std::string_view text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    return x != std::string_view::npos && ParseSide(text.substr(0, x), width) &&
           ParseSide(text.substr(x + 1), height);
}

} // namespace

std::string ParseCommandLine(const std::vector<std::string>& args, VieloOptions& options) {
    bool fileGiven = false, sizeGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string word = args[i], value;
        const std::string name = word.substr(0, word.find('='));
        if (name == "--export" || name == "--csv" || name == "--size") {
            if (const auto eq = word.find('='); eq != std::string::npos) {
                value = word.substr(eq + 1);
                word.resize(eq);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            }
        }
        if (word == "--help" || word == "-h") {
            options.Help = true;
        } else if (word == "--version") {
            options.Version = true;
        } else if (word == "--stacked") {
            options.Stacked = true;
        } else if (word == "--export" || word == "--csv") {
            if (value.empty()) return word + " needs a file name";
            (word == "--export" ? options.PicturePath : options.CsvPath) = value;
        } else if (word == "--size") {
            if (!ParseSize(value, options.Width, options.Height))
                return "--size needs WIDTHxHEIGHT, each from " + std::to_string(MinPictureSide) +
                       " to " + std::to_string(MaxPictureSide) + " pixels, e.g. 1200x800";
            sizeGiven = true;
        } else if (word.size() > 1 && word[0] == '-') {
            return "unknown option " + word;
        } else {
            if (!fileGiven) options.GrpPaths.clear();
            if (!fileGiven) options.GrpPath = word;
            options.GrpPaths.push_back(word);
            fileGiven = true;
        }
    }
    if (sizeGiven && options.PicturePath.empty()) return "--size only applies with --export";
    return {};
}

std::string UsageText() {
    return "Usage: vielo [OPTIONS] [FILE.grp...]\n"
           "Shows the signals of a simulation run (default file: graf.grp in the\n"
           "current directory). Several files (the runs of a sweep) are shown\n"
           "together, each run's curves named by its variant.txt or its folder.\n"
           "\n"
           "  --export FILE.png   draw the chart into FILE.png without a window\n"
           "  --size WxH          size of that picture in pixels (default 1200x800)\n"
           "  --csv FILE.csv      write the samples as comma-separated text\n"
           "  --stacked           one plot per input instead of one plot for all\n"
           "  --help              show this text\n"
           "  --version           show the version\n";
}
