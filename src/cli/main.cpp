// quentor-sim: runs a schematic file without the editor.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <mutex>
#include <new>
#include <fstream>
#include <optional>
#include <signal.h>
#include <thread>
#include <string>
#include <unistd.h>
#include <vector>

#include "Simulation/CircuitWarnings.h"
#include "Simulation/RandomSeed.h"
#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "Simulation/Viewer.h"
#include "app/SchematicFile.h"
#include "app/Sweep.h"
#include "app/SchematicInfo.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "params/Cp1251.h"
#include "params/ValueText.h"

namespace {

enum ExitCode { ExitOk = 0, ExitMessages = 1, ExitUsage = 2, ExitNotConverged = 3 };

const char* const Usage =
    "Запуск: quentor-sim [ПАРАМЕТРЫ] ФАЙЛ.dvn\n"
    "Моделирует схему и записывает graf.dat, graf.grp и debug.txt.\n"
    "\n"
    "  -o, --out КАТАЛОГ       записать файлы результатов в КАТАЛОГ (создаётся, если его\n"
    "                          нет; по умолчанию текущий каталог)\n"
    "  -s, --set КЛЮЧ=ЗНАЧЕНИЕ задать параметр моделирования: T, h, pr, TNC или GS\n"
    "                          (можно повторять)\n"
    "      --max-iterations N  число итераций Ньютона на одном шаге (по умолчанию 1000,\n"
    "                          0 - без ограничения)\n"
    "      --seed N            начальное число генераторов случайных чисел\n"
    "      --force             запустить и очень длинное моделирование (больше 10^9 шагов\n"
    "                          или отсчёты больше половины свободной памяти)\n"
    "      --viewer            открыть просмотр графиков после моделирования\n"
    "      --debug-dump        записать debug.txt и для большой модели (больше 400\n"
    "                          неизвестных или 1000 ветвей; его матрицы плотные)\n"
    "  -q, --quiet             выводить только сообщения\n"
    "\n"
    "Серии расчётов (каждый вариант в КАТАЛОГ/run-NNNN, сводка в КАТАЛОГ/summary.csv):\n"
    "      --vary Э.П=ЗНАЧЕНИЯ параметр П элемента Э (номер или имя, например R3): список\n"
    "                          V1,V2,... в основных единицах, V,ЕД;V,ЕД;... как в файле\n"
    "                          или диапазон НАЧАЛО:КОНЕЦ:ЧИСЛО[:log]; повторяется\n"
    "                          (все сочетания)\n"
    "      --monte-carlo N     N случайных вариантов в пределах допусков\n"
    "      --tolerance Э.П=5%[:gauss]  допуск параметра (равномерный или нормальный,\n"
    "                          3 сигмы = допуск); начальное число задаёт --seed\n"
    "      --measure ИМЯ=ВИД(ВХОД)  столбец сводки: final, min, max, mean, rise10-90 или\n"
    "                          overshoot входа плоттера или индикатора (имя, номер\n"
    "                          элемента или #N - N-й вход graf.grp)\n"
    "  -j, --jobs N            одновременных вариантов (по умолчанию все ядра)\n"
    "      --plan КАТАЛОГ      не считать, а записать задания для кластера: slurm.sh\n"
    "                          (sbatch) и jobs.txt (GNU parallel)\n"
    "      --job КАТАЛОГ N     выполнить вариант N плана\n"
    "      --collect КАТАЛОГ   собрать результаты заданий плана в summary.csv\n"
    "      --info              вывести загруженную схему в JSON и завершить работу\n"
    "      --classes           вывести все классы элементов в JSON и завершить работу\n"
    "  -h, --help              показать эту справку\n"
    "      --version           показать версию\n"
    "      --                  дальше только имя файла, не параметры\n"
    "\n"
    "Ctrl+C останавливает моделирование: полученные отсчёты записываются.\n"
    "Код завершения: 0 - успешно; 1 - моделирование выполнено, но были ошибки;\n"
    "2 - неверный запуск, файл не читается или неверен, неверные параметры;\n"
    "3 - шаг не сошёлся; 130 и 143 - остановлено сигналом SIGINT или SIGTERM.\n";

struct Options {
    std::string file;
    std::string outDir = ".";
    std::vector<std::pair<std::string, double>> settings;
    long long maxIterations = 1000;
    std::optional<unsigned> seed;
    bool force = false;
    bool viewer = false;
    bool debugDump = false;
    bool quiet = false;
    bool info = false;
    bool classes = false;
    // Sweeps.
    std::vector<std::string> vary, tolerances, measures;
    int monteCarlo = 0;
    int jobs = 0;
    std::string planDir, jobDir, collectDir;
    long jobNumber = 0;
    bool Sweep() const {
        return !vary.empty() || !tolerances.empty() || monteCarlo > 0 || !measures.empty() || !planDir.empty();
    }
};

int UsageError(const std::string& text) {
    std::fprintf(stderr, "quentor-sim: %s\nСправка: quentor-sim --help\n", text.c_str());
    return ExitUsage;
}

bool ParseWholeReal(const std::string& text, double& v) {
    return !text.empty() && ParseReal(text, v) == text.size();
}

bool ParseWholeInt(const std::string& text, long& v) { return !text.empty() && ParseInt(text, v) == text.size(); }

bool IsSettingKey(const std::string& key) {
    return key == "T" || key == "h" || key == "pr" || key == "TNC" || key == "GS";
}

// Returns an exit code to stop with, or -1 to go on.
int ParseArguments(int argc, char** argv, Options& o) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            if (!o.file.empty()) return UsageError("можно моделировать только один файл схемы");
            o.file = a;
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "-h" || a == "--help") {
            std::fputs(Usage, stdout);
            return ExitOk;
        } else if (a == "--version") {
            std::printf("quentor-sim %s\n", QUENTOR_VERSION);
            return ExitOk;
        } else if (a == "-o" || a == "--out") {
            if (!value(o.outDir)) return UsageError("после " + a + " не указан каталог");
        } else if (a == "-s" || a == "--set") {
            if (!value(v)) return UsageError("после " + a + " не указан параметр КЛЮЧ=ЗНАЧЕНИЕ");
            const auto eq = v.find('=');
            const std::string key = v.substr(0, eq);
            if (!IsSettingKey(key))
                return UsageError("неизвестный параметр моделирования '" + key + "' (допустимы T, h, pr, TNC, GS)");
            if (eq == std::string::npos || eq + 1 == v.size())
                return UsageError("не указано значение параметра " + key + " (нужно " + key + "=ЗНАЧЕНИЕ)");
            double number = 0;
            if (!ParseWholeReal(v.substr(eq + 1), number))
                return UsageError("значение параметра " + key + " не является числом: '" + v.substr(eq + 1) + "'");
            o.settings.emplace_back(key, number);
        } else if (a == "--max-iterations") {
            long n = 0;
            if (!value(v) || !ParseWholeInt(v, n) || n < 0)
                return UsageError("после --max-iterations нужно целое число не меньше 0");
            o.maxIterations = n;
        } else if (a == "--seed") {
            long n = 0;
            if (!value(v) || !ParseWholeInt(v, n) || n < 0) return UsageError("после --seed нужно целое число не меньше 0");
            o.seed = unsigned(n);
        } else if (a == "--force") {
            o.force = true;
        } else if (a == "--debug-dump") {
            o.debugDump = true;
        } else if (a == "--viewer") {
            o.viewer = true;
        } else if (a == "-q" || a == "--quiet") {
            o.quiet = true;
        } else if (a == "--vary" || a == "--tolerance" || a == "--measure") {
            if (!value(v)) return UsageError("после " + a + " не указано значение");
            (a == "--vary" ? o.vary : a == "--tolerance" ? o.tolerances : o.measures).push_back(v);
        } else if (a == "--monte-carlo") {
            long n = 0;
            if (!value(v) || !ParseWholeInt(v, n) || n < 1 || n > 1000000)
                return UsageError("после --monte-carlo нужно целое число от 1 до 1000000");
            o.monteCarlo = int(n);
        } else if (a == "-j" || a == "--jobs") {
            long n = 0;
            if (!value(v) || !ParseWholeInt(v, n) || n < 1 || n > 4096)
                return UsageError("после " + a + " нужно целое число от 1 до 4096");
            o.jobs = int(n);
        } else if (a == "--plan") {
            if (!value(o.planDir)) return UsageError("после --plan не указан каталог");
        } else if (a == "--collect") {
            if (!value(o.collectDir)) return UsageError("после --collect не указан каталог");
        } else if (a == "--job") {
            if (!value(o.jobDir) || !value(v) || !ParseWholeInt(v, o.jobNumber) || o.jobNumber < 1)
                return UsageError("после --job нужны каталог плана и номер варианта от 1");
        } else if (a == "--info") {
            o.info = true;
        } else if (a == "--classes") {
            o.classes = true;
        } else {
            return UsageError("неизвестный параметр запуска '" + a + "'");
        }
    }
    if (!o.tolerances.empty() && o.monteCarlo == 0) return UsageError("--tolerance действует только с --monte-carlo N");
    if (o.monteCarlo > 0 && o.tolerances.empty()) return UsageError("--monte-carlo требует хотя бы один --tolerance");
    if (!o.classes && o.file.empty() && o.jobDir.empty() && o.collectDir.empty())
        return UsageError("не указан файл схемы");
    return -1;
}

// Ctrl+C and SIGTERM stop the run like Stop in the editor: the loop sees the
// flag at its next test and the samples so far are written. A second signal
// ends the process at once.
std::atomic<bool>* stopFlag = nullptr;
volatile std::sig_atomic_t stopSignal = 0;
static_assert(std::atomic<bool>::is_always_lock_free, "the stop flag is set from a signal handler");

extern "C" void OnStopSignal(int signo) {
    stopSignal = signo;
    if (stopFlag) stopFlag->store(true);
}

void CatchStopSignals(std::atomic<bool>& flag) {
    stopFlag = &flag;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void ApplySettings(TRunSettings& m, const Options& o) {
    for (const auto& [key, value] : o.settings) SetRunSetting(m, key, value);
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

// A bar over the variants of a sweep.
class VariantBar {
public:
    VariantBar(bool enabled, int total) : enabled_(enabled), total_(total) {}
    void Show(int done) {
        if (!enabled_) return;
        const int width = 40;
        const int filled = total_ > 0 ? done * width / total_ : width;
        std::fprintf(stderr, "\r[%-*s] %d/%d вариантов", width, std::string(std::size_t(filled), '#').c_str(), done,
                     total_);
        std::fflush(stderr);
        shown_ = true;
    }
    void Done() {
        if (shown_) std::fputs("\n", stderr);
    }

private:
    bool enabled_;
    int total_;
    bool shown_ = false;
};

const char* const PlanArguments = "plan.args";
const char* const PlanSchematic = "schematic.dvn";

// What a planned job needs to repeat the sweep's expansion: the options
// that shape the variants and their runs, one argument a line.
std::vector<std::string> PlanArgumentLines(const Options& o, unsigned seed) {
    std::vector<std::string> args;
    for (const auto& [key, value] : o.settings) args.insert(args.end(), {"--set", key + "=" + FormatReal(value)});
    args.insert(args.end(), {"--max-iterations", std::to_string(o.maxIterations), "--seed", std::to_string(seed)});
    if (o.force) args.push_back("--force");
    if (o.debugDump) args.push_back("--debug-dump");
    for (const std::string& v : o.vary) args.insert(args.end(), {"--vary", v});
    if (o.monteCarlo > 0) args.insert(args.end(), {"--monte-carlo", std::to_string(o.monteCarlo)});
    for (const std::string& t : o.tolerances) args.insert(args.end(), {"--tolerance", t});
    for (const std::string& m : o.measures) args.insert(args.end(), {"--measure", m});
    return args;
}

// Reads a plan's options back: false after a message.
bool ReadPlan(const std::string& dir, Options& o) {
    std::ifstream f(std::filesystem::path(dir) / PlanArguments);
    if (!f) {
        Msg().Error("Каталог " + dir + " не содержит плана серии (" + PlanArguments + ").", ApplicationTitle);
        return false;
    }
    std::vector<std::string> args{"quentor-sim"};
    for (std::string line; std::getline(f, line);) args.push_back(line);
    args.push_back((std::filesystem::path(dir) / PlanSchematic).string());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    Options planned;
    if (ParseArguments(int(argv.size()), argv.data(), planned) >= 0) return false;
    planned.quiet = o.quiet;
    planned.jobs = o.jobs;
    planned.jobDir = o.jobDir;
    planned.jobNumber = o.jobNumber;
    planned.collectDir = o.collectDir;
    o = planned;
    return true;
}

std::string ShellQuoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string ProgramPath(const char* argv0) {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::absolute(argv0).string() : self.string();
}

bool WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines, bool executable = false) {
    {
        std::ofstream f(path);
        for (const std::string& l : lines) f << l << '\n';
        if (!f) {
            Msg().Error("Не удалось записать файл " + path.string(), ApplicationTitle);
            return false;
        }
    }
    if (executable) {
        std::error_code ec;
        std::filesystem::permissions(path, std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec |
                                               std::filesystem::perms::others_exec,
                                     std::filesystem::perm_options::add, ec);
    }
    return true;
}

const char* ProgramName = "quentor-sim";

int SweepMain(Options o, StderrMessages& messages) {
    if (!o.jobDir.empty() || !o.collectDir.empty())
        if (!ReadPlan(!o.jobDir.empty() ? o.jobDir : o.collectDir, o)) return ExitUsage;
    std::vector<std::string> lines;
    if (!ReadTextFile(o.file, lines)) {
        Msg().Error("Не удалось прочитать файл " + o.file, ApplicationTitle);
        return ExitUsage;
    }
    Schematic sheet;
    if (LoadSchematicLines(sheet, lines) != TLoadResult::Loaded) return ExitUsage;
    ApplySettings(sheet.RunSettings, o);
    std::string error;
    if (!CheckRunSettings(sheet.RunSettings, error)) {
        Msg().Error(error, ApplicationTitle);
        return ExitUsage;
    }
    TSweepSetup setup;
    for (const std::string& arg : o.vary) {
        TVaryAxis axis;
        if (!ParseVary(sheet, arg, axis, error)) return UsageError(error);
        setup.Axes.push_back(std::move(axis));
    }
    for (const std::string& arg : o.tolerances) {
        TTolerance t;
        if (!ParseTolerance(sheet, arg, t, error)) return UsageError(error);
        setup.Tolerances.push_back(std::move(t));
    }
    for (const std::string& arg : o.measures) {
        TMeasure m;
        if (!ParseMeasure(sheet, arg, m, error)) return UsageError(error);
        setup.Measures.push_back(std::move(m));
    }
    setup.MonteCarlo = o.monteCarlo;
    // One seed for the whole sweep, so that every variant draws its own
    // values and all generators the same sequence; a plan repeats it.
    const unsigned seed = o.seed ? *o.seed : RunRandomSeed();
    setup.Seed = seed;
    if (!CheckAxes(lines, setup, error)) return UsageError(error);
    const std::vector<TVariant> variants = ExpandVariants(sheet, setup);

    if (!o.collectDir.empty()) {
        const int rows = CollectSummary(o.collectDir, SummaryHeader(setup), int(variants.size()));
        if (rows < 0) {
            Msg().Error("Не удалось записать файл " + o.collectDir + "/summary.csv", ApplicationTitle);
            return ExitMessages;
        }
        if (!o.quiet)
            std::fprintf(stderr, "собрано вариантов %d из %zu: %s/summary.csv\n", rows, variants.size(),
                         o.collectDir.c_str());
        return rows == int(variants.size()) ? ExitOk : ExitMessages;
    }

    TVariantRunOptions run;
    run.Settings = o.settings;
    run.MaxIterations = o.maxIterations;
    run.GeneratorSeed = seed;
    run.Force = o.force;
    run.DumpLargeModels = o.debugDump;

    if (!o.jobDir.empty()) {
        if (o.jobNumber > long(variants.size()))
            return UsageError("в плане " + std::to_string(variants.size()) + " вариантов, варианта " +
                              std::to_string(o.jobNumber) + " нет");
        const TVariant& v = variants[std::size_t(o.jobNumber - 1)];
        const TVariantResult r =
            RunVariant(lines, setup, v, (std::filesystem::path(o.jobDir) / RunDirName(v.Number)).string(), run);
        for (const std::string& m : r.Messages) {
            if (m.rfind("error: ", 0) == 0) Msg().Error(m.substr(7), ApplicationTitle);
            else if (m.rfind("warning: ", 0) == 0) Msg().Warning(m.substr(9), ApplicationTitle);
            else Msg().Information(m, ApplicationTitle);
        }
        if (r.Status == "not converged") return ExitNotConverged;
        return r.Finished() && !messages.ErrorCount() ? ExitOk : ExitMessages;
    }

    std::error_code ec;
    const std::string outDir = !o.planDir.empty() ? o.planDir : o.outDir;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        Msg().Error("Не удалось создать каталог " + outDir + ": " + ec.message(), ApplicationTitle);
        return ExitUsage;
    }

    if (!o.planDir.empty()) {
        const std::filesystem::path dir = std::filesystem::absolute(o.planDir);
        if (!WriteTextFile((dir / PlanSchematic).string(), lines) || !WriteLines(dir / PlanArguments, PlanArgumentLines(o, seed)))
            return ExitMessages;
        const std::string program = ShellQuoted(ProgramPath(ProgramName)), quotedDir = ShellQuoted(dir.string());
        std::vector<std::string> jobs;
        for (const TVariant& v : variants)
            jobs.push_back(program + " -q --job " + quotedDir + " " + std::to_string(v.Number));
        const std::vector<std::string> slurm{
            "#!/bin/sh",
            "#SBATCH --job-name=quentor-sweep",
            "#SBATCH --array=1-" + std::to_string(variants.size()),
            "#SBATCH --output=" + (dir / "slurm-%a.out").string(),
            "exec " + program + " -q --job " + quotedDir + " \"$SLURM_ARRAY_TASK_ID\"",
        };
        if (!WriteLines(dir / "jobs.txt", jobs) || !WriteLines(dir / "slurm.sh", slurm, true)) return ExitMessages;
        if (!o.quiet)
            std::fprintf(stderr,
                         "план из %zu вариантов в %s: sbatch %s/slurm.sh или parallel < %s/jobs.txt, затем\n"
                         "quentor-sim --collect %s\n",
                         variants.size(), dir.c_str(), dir.c_str(), dir.c_str(), dir.c_str());
        return ExitOk;
    }

    std::atomic<bool> stop{false};
    CatchStopSignals(stop);
    const int jobs = o.jobs > 0 ? o.jobs : int(std::max(1u, std::thread::hardware_concurrency()));
    VariantBar bar(!o.quiet && isatty(fileno(stderr)), int(variants.size()));
    bar.Show(0);
    const auto start = std::chrono::steady_clock::now();
    std::mutex printing;
    const TSweepRun totals = RunSweep(
        lines, setup, variants, outDir, run, jobs, stop, [&bar](int done) { bar.Show(done); },
        [&](const TVariant& v, const TVariantResult& r) {
            if (r.Messages.empty()) return;
            bar.Done();
            for (const std::string& m : r.Messages) {
                const std::string text = RunDirName(v.Number) + ": " + m.substr(m.find(' ') + 1);
                if (m.rfind("error: ", 0) == 0) Msg().Error(text, ApplicationTitle);
                else if (m.rfind("warning: ", 0) == 0) Msg().Warning(text, ApplicationTitle);
                else Msg().Information(text, ApplicationTitle);
            }
        });
    bar.Done();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (stopSignal)
        Msg().Warning("Серия остановлена сигналом " + std::string(stopSignal == SIGINT ? "SIGINT" : "SIGTERM") +
                          ": в сводке " + std::to_string(totals.Finished + totals.Failed) + " законченных вариантов из " +
                          std::to_string(variants.size()) + ".",
                      ApplicationTitle);
    if (!o.quiet)
        std::fprintf(stderr, "вариантов %zu: без ошибок %d, с ошибками %d, остановлено %d; потоков %d, время %.3f с; %s\n",
                     variants.size(), totals.Finished, totals.Failed, totals.Stopped, jobs, wall,
                     (std::filesystem::path(outDir) / "summary.csv").c_str());
    if (stopSignal) return 128 + int(stopSignal);
    return totals.Failed || messages.ErrorCount() ? ExitMessages : ExitOk;
}

int Run(const Options& o, StderrMessages& messages) {
    if (o.classes) {
        std::puts(DescribeClassesJson().c_str());
        return ExitOk;
    }
    if (!o.jobDir.empty() || !o.collectDir.empty() || o.Sweep()) return SweepMain(o, messages);

    std::error_code ec;
    if (!std::filesystem::exists(o.file, ec)) {
        Msg().Error("Файл " + o.file + " не существует.", ApplicationTitle);
        return ExitUsage;
    }
    Schematic sheet;
    switch (LoadSchematic(sheet, o.file)) {
    case TLoadResult::Loaded: break;
    case TLoadResult::NotASchematic:
    case TLoadResult::Unreadable:
    case TLoadResult::Truncated: return ExitUsage;
    }
    ApplySettings(sheet.RunSettings, o);
    sheet.RunSettings.DumpLargeModels = o.debugDump;
    if (o.info) {
        std::puts(DescribeSchematicJson(sheet).c_str());
        return messages.ErrorCount() ? ExitMessages : ExitOk;
    }

    std::filesystem::create_directories(o.outDir, ec);
    if (ec) {
        Msg().Error("Не удалось создать каталог " + o.outDir + ": " + ec.message(), ApplicationTitle);
        return ExitUsage;
    }
    std::string settingsError;
    if (!CheckRunSettings(sheet.RunSettings, settingsError)) {
        Msg().Error(settingsError, ApplicationTitle);
        return ExitUsage;
    }
    for (const std::string& w : RunSettingsWarnings(sheet.RunSettings))
        Msg().Warning(w, ApplicationTitle);
    for (const std::string& w : CircuitWarnings(sheet))
        Msg().Warning(w, ApplicationTitle);
    TRunLimits limits;
    limits.Confirm = [&o](const std::string& reason) {
        if (o.force) return true;
        Msg().Error(reason + " Моделирование не запущено; чтобы запустить его, укажите --force.",
                    ApplicationTitle);
        return false;
    };
    TRunContext context(sheet, o.outDir);
    if (!PrepareRun(context, limits)) return ExitUsage;
    TSimModel& model = *context.Model();
    CatchStopSignals(model.StopRequested);

    ProgressBar bar(!o.quiet && isatty(fileno(stderr)));
    TRunOptions run;
    run.MaxIterations = o.maxIterations;
    const double T = model.T;
    run.Progress = [&bar, T](double t) { bar.Show(t, T); };
    const auto start = std::chrono::steady_clock::now();
    const TRunResult result = RunSimulation(context, run);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    bar.Done();

    if (!result.Message.empty()) Msg().Error(result.Message, ApplicationTitle);
    const bool signalled = stopSignal && result.Status == TRunResult::Outcome::Stopped;
    if (signalled)
        Msg().Warning("Моделирование остановлено сигналом " + std::string(stopSignal == SIGINT ? "SIGINT" : "SIGTERM") +
                          " при t = " + FormatReal(model.Time) + " с; полученные отсчёты записаны.",
                      ApplicationTitle);
    if (!o.quiet)
        std::fprintf(stderr, "шагов %lld, отсчётов %lld, итераций Ньютона %lld, время %.3f с\n",
                     (long long)result.Steps, (long long)result.Samples, (long long)result.Iterations, wall);
    if (signalled) return 128 + int(stopSignal);
    if (o.viewer && result.Consumers > 0) {
        std::string error;
        if (!RunViewer(o.outDir, error)) Msg().Error(error, ApplicationTitle);
    }
    if (result.Status == TRunResult::Outcome::NotConverged) return ExitNotConverged;
    return messages.ErrorCount() ? ExitMessages : ExitOk;
}

} // namespace

int main(int argc, char** argv) {
    ProgramName = argv[0];
    Options o;
    if (const int code = ParseArguments(argc, argv, o); code >= 0) return code;
    StderrMessages messages;
    SetMessages(&messages);
    if (o.seed) SetFixedRandomSeed(o.seed);
    // Whatever escapes (memory exhausted while loading, above all) ends the
    // program with a message instead of an abort.
    try {
        return Run(o, messages);
    } catch (const std::bad_alloc&) {
        Msg().Error("Недостаточно памяти.", ApplicationTitle);
    } catch (const std::exception& e) {
        Msg().Error(std::string("Внутренняя ошибка: ") + e.what(), ApplicationTitle);
    }
    return ExitMessages;
}
