// quentor-sim: runs a schematic file without the editor.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "Simulation/RandomSeed.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "Simulation/Viewer.h"
#include "app/SchematicFile.h"
#include "app/SchematicInfo.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "params/ValueText.h"

namespace {

enum ExitCode { ExitOk = 0, ExitMessages = 1, ExitUsage = 2, ExitNotConverged = 3 };

const char* const Usage =
    "Usage: quentor-sim [OPTIONS] FILE.dvn\n"
    "Runs the simulation of a schematic and writes graf.dat, graf.grp and debug.txt.\n"
    "\n"
    "  -o, --out DIR           write the result files into DIR (created when missing;\n"
    "                          default: the current directory)\n"
    "  -s, --set KEY=VALUE     override a run setting: T, h, pr, TNC or GS (repeatable)\n"
    "      --max-iterations N  Newton iterations allowed in one step (default 1000,\n"
    "                          0 = no limit)\n"
    "      --seed N            seed of the random generators (reproducible runs)\n"
    "      --viewer            start the plot viewer after a run with plotters\n"
    "  -q, --quiet             print nothing but messages\n"
    "      --info              print the loaded schematic as JSON and exit\n"
    "      --classes           print every element class as JSON and exit\n"
    "  -h, --help              show this text\n"
    "      --version           show the version\n"
    "\n"
    "Exit status: 0 success; 1 the run finished but errors were reported;\n"
    "2 bad usage, unreadable or invalid file, invalid settings; 3 a step did not converge.\n";

struct Options {
    std::string file;
    std::string outDir = ".";
    std::vector<std::pair<std::string, double>> settings;
    long long maxIterations = 1000;
    std::optional<unsigned> seed;
    bool viewer = false;
    bool quiet = false;
    bool info = false;
    bool classes = false;
};

int UsageError(const std::string& text) {
    std::fprintf(stderr, "quentor-sim: %s\nTry 'quentor-sim --help'.\n", text.c_str());
    return ExitUsage;
}

bool ParseWholeReal(const std::string& text, double& v) {
    return !text.empty() && ParseReal(text, v) == text.size();
}

bool ParseWholeInt(const std::string& text, long& v) { return !text.empty() && ParseInt(text, v) == text.size(); }

// Returns an exit code to stop with, or -1 to go on.
int ParseArguments(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "-h" || a == "--help") {
            std::fputs(Usage, stdout);
            return ExitOk;
        } else if (a == "--version") {
            std::printf("quentor-sim %s\n", QUENTOR_VERSION);
            return ExitOk;
        } else if (a == "-o" || a == "--out") {
            if (!value(o.outDir)) return UsageError(a + " needs a directory");
        } else if (a == "-s" || a == "--set") {
            if (!value(v)) return UsageError(a + " needs KEY=VALUE");
            const auto eq = v.find('=');
            const std::string key = v.substr(0, eq);
            double number = 0;
            if (eq == std::string::npos || !(key == "T" || key == "h" || key == "pr" || key == "TNC" || key == "GS"))
                return UsageError("unknown setting '" + v + "' (use T, h, pr, TNC or GS)");
            if (!ParseWholeReal(v.substr(eq + 1), number))
                return UsageError("'" + v.substr(eq + 1) + "' is not a number");
            o.settings.emplace_back(key, number);
        } else if (a == "--max-iterations") {
            long n = 0;
            if (!value(v) || !ParseWholeInt(v, n) || n < 0) return UsageError("--max-iterations needs a number >= 0");
            o.maxIterations = n;
        } else if (a == "--seed") {
            long n = 0;
            if (!value(v) || !ParseWholeInt(v, n) || n < 0) return UsageError("--seed needs a number >= 0");
            o.seed = unsigned(n);
        } else if (a == "--viewer") {
            o.viewer = true;
        } else if (a == "-q" || a == "--quiet") {
            o.quiet = true;
        } else if (a == "--info") {
            o.info = true;
        } else if (a == "--classes") {
            o.classes = true;
        } else if (!a.empty() && a[0] == '-') {
            return UsageError("unknown option '" + a + "'");
        } else if (o.file.empty()) {
            o.file = a;
        } else {
            return UsageError("only one schematic file can be run");
        }
    }
    if (!o.classes && o.file.empty()) return UsageError("no schematic file given");
    return -1;
}

void ApplySettings(TSimModel& m, const Options& o) {
    for (const auto& [key, value] : o.settings) {
        if (key == "T") m.T = value;
        else if (key == "h") m.h = value;
        else if (key == "pr") m.pr = value;
        else if (key == "TNC") m.TNC = value;
        else if (key == "GS") m.GS = value;
    }
}

// A progress bar on a terminal, redrawn when its text changes.
class ProgressBar {
public:
    explicit ProgressBar(bool enabled) : enabled_(enabled) {}
    void Show(double t, double T) {
        if (!enabled_) return;
        const int width = 40;
        const double f = T > 0 ? std::min(1.0, std::max(0.0, t / T)) : 1.0;
        const int filled = int(f * width);
        char line[128];
        std::snprintf(line, sizeof line, "\r[%-*s] %3d%%  t = %s", width, std::string(std::size_t(filled), '#').c_str(),
                      int(f * 100), FormatReal(t).c_str());
        if (line == last_) return;
        last_ = line;
        std::fputs(line, stderr);
        std::fflush(stderr);
    }
    void Done() {
        if (enabled_ && !last_.empty()) std::fputs("\n", stderr);
    }

private:
    bool enabled_;
    std::string last_;
};

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (const int code = ParseArguments(argc, argv, o); code >= 0) return code;
    StderrMessages messages;
    SetMessages(&messages);
    if (o.seed) SetFixedRandomSeed(o.seed);

    if (o.classes) {
        std::puts(DescribeClassesJson().c_str());
        return ExitOk;
    }

    Schematic sheet;
    switch (LoadSchematic(sheet, o.file)) {
    case TLoadResult::Loaded: break;
    case TLoadResult::NotASchematic:
    case TLoadResult::Unreadable:
    case TLoadResult::Truncated: return ExitUsage;
    }
    ApplySettings(sheet.SimModel(), o);
    if (o.info) {
        std::puts(DescribeSchematicJson(sheet).c_str());
        return messages.ErrorCount() ? ExitMessages : ExitOk;
    }

    std::error_code ec;
    std::filesystem::create_directories(o.outDir, ec);
    if (ec) {
        Msg().Error("Не удалось создать каталог " + o.outDir + ": " + ec.message(), ApplicationTitle);
        return ExitUsage;
    }
    std::string settingsError;
    if (!CheckRunSettings(sheet.SimModel(), settingsError)) {
        Msg().Error(settingsError, ApplicationTitle);
        return ExitUsage;
    }
    if (!PrepareRun(sheet, o.outDir)) return ExitUsage;

    ProgressBar bar(!o.quiet && isatty(fileno(stderr)));
    TRunOptions run;
    run.OutputDir = o.outDir;
    run.MaxIterations = o.maxIterations;
    const double T = sheet.SimModel().T;
    run.Progress = [&bar, T](double t) { bar.Show(t, T); };
    const auto start = std::chrono::steady_clock::now();
    const TRunResult result = RunSimulation(sheet, run);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    bar.Done();

    if (!result.Message.empty()) Msg().Error(result.Message, ApplicationTitle);
    if (!o.quiet)
        std::fprintf(stderr, "steps %lld, samples %lld, Newton iterations %lld, wall time %.3f s\n",
                     (long long)result.Steps, (long long)result.Samples, (long long)result.Iterations, wall);
    if (o.viewer && result.Consumers > 0) {
        std::string error;
        if (!RunViewer(o.outDir, error)) Msg().Error(error, ApplicationTitle);
    }
    if (result.Status == TRunResult::Outcome::NotConverged) return ExitNotConverged;
    return messages.ErrorCount() ? ExitMessages : ExitOk;
}
