#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/SchematicFile.h"
#include "Simulation/TValue.h"
#include "model/Schematic.h"
#include "support/CircuitBuilder.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

using namespace std::chrono_literals;

struct Outcome {
    int status = -1; // exit status, or 128 + signal when killed
    std::string err;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs quentor-sim in `dir` with the arguments as given (no shell). With a
// signal, sends it once the run has written its dump and `after` has passed.
// A process still running after 20 s is killed.
Outcome Sim(const TempDir& dir, const std::vector<std::string>& args, int signal = 0,
            std::chrono::milliseconds after = 0ms, rlim_t addressSpace = RLIM_INFINITY) {
    const std::string program = std::string(QUENTOR_BINARY_DIR) + "/quentor-sim";
    const std::string errFile = dir.File("stderr.txt");
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.Path().c_str()) != 0) _exit(99);
        const rlimit limit{addressSpace, addressSpace};
        if (addressSpace != RLIM_INFINITY && setrlimit(RLIMIT_AS, &limit) != 0) _exit(97);
        const int fd = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 2);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(98);
    }
    if (signal) {
        for (int i = 0; i < 2000 && !std::filesystem::exists(dir.File("debug.txt")); ++i)
            std::this_thread::sleep_for(5ms);
        std::this_thread::sleep_for(after);
        kill(pid, signal);
    }
    // A run that should have been refused must not hang the suite.
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(2ms);
    }
    Outcome o;
    o.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    o.err = ReadAll(errFile);
    return o;
}

std::string Example(const char* name) {
    return std::string(QUENTOR_SOURCE_DIR) + "/examples/" + name;
}

TEST(RunnerMessages, UsageErrorsSayWhatIsWrongInRussian) {
    TempDir dir;
    const std::string hint = "\nСправка: quentor-sim --help\n";
    struct Case {
        std::vector<std::string> args;
        std::string text;
    } cases[] = {
        {{"-s", "T", Example("rc.dvn")}, "не указано значение параметра T (нужно T=ЗНАЧЕНИЕ)"},
        {{"-s", "h=", Example("rc.dvn")}, "не указано значение параметра h (нужно h=ЗНАЧЕНИЕ)"},
        {{"-s", "T=abc", Example("rc.dvn")}, "значение параметра T не является числом: 'abc'"},
        {{"-s", "Q=1", Example("rc.dvn")},
         "неизвестный параметр моделирования 'Q' (допустимы T, h, pr, TNC, GS)"},
        {{"-s"}, "после -s не указан параметр КЛЮЧ=ЗНАЧЕНИЕ"},
        {{"--bogus", "x.dvn"}, "неизвестный параметр запуска '--bogus'"},
        {{}, "не указан файл схемы"},
        {{"a.dvn", "b.dvn"}, "можно моделировать только один файл схемы"},
    };
    for (const Case& c : cases) {
        const Outcome o = Sim(dir, c.args);
        EXPECT_EQ(o.status, 2) << c.text;
        EXPECT_EQ(o.err, "quentor-sim: " + c.text + hint);
    }
}

TEST(RunnerMessages, AMissingFileIsSaidNotToExist) {
    TempDir dir;
    const Outcome o = Sim(dir, {"-q", "absent.dvn"});
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, "error: Файл absent.dvn не существует.\n");
}

TEST(RunnerMessages, DoubleDashEndsTheOptions) {
    TempDir dir;
    std::filesystem::copy_file(Example("divider.dvn"), dir.File("-divider.dvn"));
    const Outcome o = Sim(dir, {"-q", "--", "-divider.dvn"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_FALSE(ReadGrafDat(dir.File("graf.dat")).empty());
}

TEST(RunnerMessages, StepsLongerThanTheRunAreWarnedAbout) {
    TempDir dir;
    const Outcome o =
        Sim(dir, {"-q", "-s", "T=0.001", "-s", "h=0.002", "-s", "GS=0.5", Example("rc.dvn")});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "warning: Шаг моделирования 0.002 больше длительности моделирования 0.001: "
                     "будет сделан только один "
                     "шаг.\n"
                     "warning: Шаг вывода графиков 0.5 больше длительности моделирования 0.001: "
                     "будет записан только "
                     "отсчёт при t = 0.\n");
}

TEST(RunnerLimits, StepsThatCannotMoveTheTimeAreRefused) {
    TempDir dir;
    const Outcome o = Sim(dir, {"-q", "-s", "T=1e308", "-s", "h=1e-310", Example("rc.dvn")});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("error: Шаг моделирования "), std::string::npos) << o.err;
    EXPECT_NE(o.err.find(" слишком мал: при t = 1E308 с модельное время перестаёт расти.\n"),
              std::string::npos);
    const Outcome late = Sim(dir, {"-q", "-s", "T=1e9", "-s", "h=1e-9", Example("rc.dvn")});
    EXPECT_EQ(late.status, 2);
    EXPECT_EQ(late.err, "error: Шаг моделирования 1E-9 слишком мал: при t = 1000000000 с модельное "
                        "время перестаёт расти.\n");
}

TEST(RunnerLimits, AHugeRunNeedsForce) {
    TempDir dir;
    const Outcome o = Sim(dir, {"-q", "-s", "T=1e5", "-s", "GS=1000", Example("rc.dvn")});
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, "error: Моделирование займёт 10000000000 шагов, это очень долго. "
                     "Моделирование не запущено; "
                     "чтобы запустить его, укажите --force.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("debug.txt")));
}

// 5 000 resistors in a file, run with 512 MB of address space: the dense
// branch matrix alone would need 5000² values. The run is refused with the
// sizes named instead of ending by a failed allocation.
TEST(RunnerLimits, ASchematicTooLargeForTheMemoryIsRefusedWithItsSize) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers reserve more address space than the limit of this test";
#endif
    TempDir dir;
    const int n = 5000;
    {
        RecordingMessages messages;
        Schematic sheet;
        CircuitBuilder b(sheet);
        for (int i = 0; i < n; ++i) b.Add("TGain", 60 * (i % 100), 60 * (i / 100));
        ASSERT_TRUE(SaveSchematic(sheet, dir.File("huge.dvn")));
    }
    const auto start = std::chrono::steady_clock::now();
    const Outcome o = Sim(dir, {"-q", "huge.dvn"}, 0, 0ms, rlim_t(512) << 20);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(o.status, 2) << o.err;
    // The static inputs' coupling to the static outputs (n×n) and the
    // outputs (n), all matrix values; the sparse Jacobian of n unknowns.
    char needed[32];
    std::snprintf(needed, sizeof needed, "%.1f МБ",
                  (double(sizeof(TValue)) * (double(n) * n + n) + 10.0 * n * double(sizeof(double) + sizeof(int))) /
                      1048576.0);
    EXPECT_EQ(o.err, "error: Для моделирования схемы (5000 неизвестных, 0 ветвей) нужно " + std::string(needed) +
                         " памяти, а свободно 512.0 МБ. Моделирование не запущено.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("debug.txt")));
}

// Ctrl+C (or SIGTERM) stops the run like Stop: the samples so far are
// written, the exit status tells the signal.
TEST(RunnerLimits, InterruptStopsTheRunAndWritesTheSamplesSoFar) {
    for (int signal : {SIGINT, SIGTERM}) {
        TempDir dir;
        const Outcome o =
            Sim(dir, {"-q", "--force", "-s", "T=1e5", "-s", "GS=1e-3", Example("rc.dvn")}, signal,
                300ms);
        EXPECT_EQ(o.status, 128 + signal) << o.err;
        const std::string name = signal == SIGINT ? "SIGINT" : "SIGTERM";
        EXPECT_EQ(
            o.err.rfind("warning: Моделирование остановлено сигналом " + name + " при t = ", 0), 0u)
            << o.err;
        EXPECT_NE(o.err.find(" с; полученные отсчёты записаны.\n"), std::string::npos);
        const auto rows = ReadGrafDat(dir.File("graf.dat"));
        const GrafGrp grp = ReadGrafGrp(dir.File("graf.grp"));
        EXPECT_GT(rows.size(), 10u);
        EXPECT_EQ(grp.Times.size(), rows.size());
        EXPECT_EQ(grp.Ratio, 100000000); // T / GS, as for a whole run
        EXPECT_NEAR(rows[1][0], 1e-3, 1e-9);
    }
}

// A run killed outright leaves no result files of an earlier run beside its
// new dump.
TEST(RunnerLimits, APreviousRunsFilesAreGoneOnceANewRunStarts) {
    TempDir dir;
    for (const char* name : {"graf.dat", "graf.grp", "debug.txt"})
        std::ofstream(dir.File(name)) << "old run\n";
    std::filesystem::remove(dir.File("debug.txt"));
    const Outcome o = Sim(dir, {"-q", "--force", "-s", "T=1e5", Example("rc.dvn")}, SIGKILL, 50ms);
    EXPECT_EQ(o.status, 128 + SIGKILL);
    EXPECT_TRUE(std::filesystem::exists(dir.File("debug.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("graf.dat")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("graf.grp")));
}

} // namespace

namespace {

// The dump of a model too large to read is written only with --debug-dump.
TEST(RunnerLimits, TheDumpOfALargeModelNeedsDebugDump) {
    TempDir dir;
    {
        RecordingMessages messages;
        Schematic sheet;
        CircuitBuilder b(sheet);
        for (int i = 0; i < 1100; ++i) b.Add("TResistor", 80 * (i % 40), 40 * (i / 40));
        ASSERT_TRUE(SaveSchematic(sheet, dir.File("wide.dvn")));
    }
    const Outcome plain = Sim(dir, {"-q", "-s", "T=1e-4", "wide.dvn"});
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("debug.txt")));
    EXPECT_NE(plain.err.find("Файл debug.txt не записан: в модели 0 неизвестных и 1100 ветвей"), std::string::npos)
        << plain.err;
    const Outcome dumped = Sim(dir, {"-q", "-s", "T=1e-4", "--debug-dump", "wide.dvn"});
    EXPECT_EQ(dumped.status, 0) << dumped.err;
    ASSERT_TRUE(std::filesystem::exists(dir.File("debug.txt")));
    // The conductance matrix alone: 1100 rows of 1100 entries.
    EXPECT_GT(std::filesystem::file_size(dir.File("debug.txt")), std::uintmax_t(1100) * 1100 * 2);
}

} // namespace
