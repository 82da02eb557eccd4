// quentor-sim: runs a schematic file without the editor.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>
#include <signal.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "Simulation/CircuitWarnings.h"
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
        } else if (a == "--info") {
            o.info = true;
        } else if (a == "--classes") {
            o.classes = true;
        } else {
            return UsageError("неизвестный параметр запуска '" + a + "'");
        }
    }
    if (!o.classes && o.file.empty()) return UsageError("не указан файл схемы");
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

int Run(const Options& o, StderrMessages& messages) {
    if (o.classes) {
        std::puts(DescribeClassesJson().c_str());
        return ExitOk;
    }

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
    ApplySettings(sheet.SimModel(), o);
    sheet.SimModel().DumpLargeModels = o.debugDump;
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
    if (!CheckRunSettings(sheet.SimModel(), settingsError)) {
        Msg().Error(settingsError, ApplicationTitle);
        return ExitUsage;
    }
    for (const std::string& w : RunSettingsWarnings(sheet.SimModel()))
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
    CatchStopSignals(sheet.SimModel().StopRequested);
    if (!PrepareRun(sheet, o.outDir, limits)) return ExitUsage;

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
    const bool signalled = stopSignal && result.Status == TRunResult::Outcome::Stopped;
    if (signalled)
        Msg().Warning("Моделирование остановлено сигналом " + std::string(stopSignal == SIGINT ? "SIGINT" : "SIGTERM") +
                          " при t = " + FormatReal(sheet.SimModel().Time) + " с; полученные отсчёты записаны.",
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
