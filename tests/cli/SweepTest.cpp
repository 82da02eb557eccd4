// Sweeps and Monte Carlo series of quentor-sim, run as a user runs them.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "params/Cp1251.h"
#include "support/ExampleBuilder.h"
#include "support/ResultFiles.h"
#include "support/SimCommand.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// The example's lines with the body line `key=` of the element record whose
// header starts with `header` given the text `value`: the file a user would
// write by hand for one variant.
std::vector<std::string> Edited(std::vector<std::string> lines, const std::string& header, const std::string& key,
                                const std::string& value) {
    bool inside = false;
    for (std::string& line : lines) {
        if (line.rfind(header, 0) == 0) {
            inside = true;
            continue;
        }
        if (inside && line.rfind(key + "=", 0) == 0) {
            line = key + "=" + value;
            return lines;
        }
    }
    ADD_FAILURE() << "no " << key << " in " << header;
    return lines;
}

std::vector<std::string> ExampleLines(const std::string& name) {
    std::vector<std::string> lines;
    EXPECT_TRUE(ReadTextFile(ExamplePath(name), lines));
    return lines;
}

// The speed controller of the cascade drive is its fourth element, a
// transfer function ("A4"); its motor is "M1".
const char* const SpeedController = "TransferFunction:290,65";
const char* const Motor = "Motor:940,180";

TEST(Sweep, EveryVariantIsTheSingleRunOfItsFileToTheLastBit) {
    TempDir dir;
    const std::string out = dir.File("sweep");
    const SimResult r = RunSimCommand("-q -j 2 -o " + out + " --vary A4.K=0.5,2 --vary M1.Jd=0.01,0.03 " +
                                          ExamplePath("dc_drive_cascade.dvn"),
                                      dir.Path().string());
    ASSERT_EQ(r.status, 0) << r.err;
    // The last axis changes fastest.
    const std::vector<std::pair<std::string, std::string>> variants{
        {"0.5", "0.01,0"}, {"0.5", "0.03,0"}, {"2", "0.01,0"}, {"2", "0.03,0"}};
    for (std::size_t i = 0; i < variants.size(); ++i) {
        SCOPED_TRACE(i + 1);
        std::vector<std::string> lines = ExampleLines("dc_drive_cascade.dvn");
        lines = Edited(lines, SpeedController, "K", variants[i].first);
        lines = Edited(lines, Motor, " Jd", variants[i].second);
        const std::string file = dir.File("variant.dvn"), single = dir.File("single");
        ASSERT_TRUE(WriteTextFile(file, lines));
        fs::remove_all(single);
        ASSERT_EQ(RunSimCommand("-q -o " + single + " " + file, dir.Path().string()).status, 0);
        char run[40];
        std::snprintf(run, sizeof run, "run-%04zu", i + 1);
        for (const char* name : {"graf.dat", "graf.grp"}) {
            const std::string expected = FileBytes(single + "/" + name);
            ASSERT_GT(expected.size(), 1000u);
            EXPECT_EQ(FileBytes(out + "/" + run + "/" + name), expected) << name;
        }
    }
    EXPECT_EQ(FileBytes(out + "/summary.csv"), "run,status,A4.K,M1.Jd\n"
                                               "1,finished,0.5,0.01\n"
                                               "2,finished,0.5,0.03\n"
                                               "3,finished,2,0.01\n"
                                               "4,finished,2,0.03\n");
}

std::vector<std::vector<std::string>> ReadCsv(const std::string& path) {
    std::vector<std::vector<std::string>> rows;
    std::ifstream f(path);
    for (std::string line; std::getline(f, line);) {
        std::vector<std::string> fields;
        std::stringstream s(line);
        for (std::string field; std::getline(s, field, ',');) fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

// The RC example charges its capacitor through R + Rвн: final 12 V, the
// 10–90 % rise τ·ln 9, no overshoot, and the mean of 12·(1 − e^(−t/τ)) over
// the samples.
TEST(Sweep, MeasuresOfTheRcStepAgreeWithTheClosedForm) {
    TempDir dir;
    const std::string out = dir.File("rc");
    const SimResult r = RunSimCommand(
        "-q -o " + out + " -s T=0.03 --vary R1.R=500,1000,2000 --measure 'u=final(A1)' --measure 'rise=rise10-90(#1)' "
        "--measure 'peak=max(7)' --measure 'over=overshoot(A1)' --measure 'avg=mean(A1)' --measure 'low=min(A1)' " +
            ExamplePath("rc.dvn"),
        dir.Path().string());
    ASSERT_EQ(r.status, 0) << r.err;
    const auto csv = ReadCsv(out + "/summary.csv");
    ASSERT_EQ(csv.size(), 4u);
    EXPECT_EQ(csv[0], (std::vector<std::string>{"run", "status", "R1.R", "u", "rise", "peak", "over", "avg", "low"}));
    const double C = 1e-6, E = 12, h = 1e-5, GS = 5e-5, T = 0.03;
    for (std::size_t i = 1; i < csv.size(); ++i) {
        SCOPED_TRACE(csv[i][2]);
        ASSERT_EQ(csv[i].size(), 9u);
        EXPECT_EQ(csv[i][1], "finished");
        const double R = std::stod(csv[i][2]) + 0.01, tau = R * C;
        const double final = E * (1 - std::exp(-T / tau));
        // Newton stops once the node currents are within TNC = 1e-6 A: the
        // capacitor stays up to TNC·R short of the source.
        EXPECT_NEAR(std::stod(csv[i][3]), final, 1e-4 + 1e-6 * R);
        EXPECT_NEAR(std::stod(csv[i][5]), std::stod(csv[i][3]), 1e-12);
        // Backward Euler and the sample grid move the crossings by about a step.
        EXPECT_NEAR(std::stod(csv[i][4]), tau * std::log(9.0), 0.01 * tau * std::log(9.0) + h);
        EXPECT_EQ(std::stod(csv[i][6]), 0.0);
        double sum = 0;
        int n = 0;
        for (double t = 0; t <= T + 1e-12; t += GS, ++n) sum += E * (1 - std::exp(-t / tau));
        EXPECT_NEAR(std::stod(csv[i][7]), sum / n, 0.01 * E * h / tau + 0.005 * sum / n);
        EXPECT_GE(std::stod(csv[i][8]), 0.0);
        EXPECT_LE(std::stod(csv[i][8]), 1.05 * E * h / tau);
    }
    EXPECT_GT(std::stod(csv[3][4]), 3.5 * std::stod(csv[1][4]));
}

TEST(Sweep, MonteCarloDrawsWithinTheToleranceFromTheSeed) {
    TempDir dir;
    const std::string args = "-q -s T=0.01 --monte-carlo 6 --tolerance R1.R=10% --tolerance C1.C=5%:gauss --seed 42 "
                             "--measure 'rise=rise10-90(A1)' ";
    ASSERT_EQ(RunSimCommand(args + "-o " + dir.File("a") + " " + ExamplePath("rc.dvn"), dir.Path().string()).status, 0);
    ASSERT_EQ(RunSimCommand(args + "-j 1 -o " + dir.File("b") + " " + ExamplePath("rc.dvn"), dir.Path().string()).status,
              0);
    EXPECT_EQ(FileBytes(dir.File("a/summary.csv")), FileBytes(dir.File("b/summary.csv")));
    const auto csv = ReadCsv(dir.File("a/summary.csv"));
    ASSERT_EQ(csv.size(), 7u);
    EXPECT_EQ(csv[0], (std::vector<std::string>{"run", "status", "R1.R", "C1.C", "rise"}));
    std::set<std::string> resistances;
    for (std::size_t i = 1; i < csv.size(); ++i) {
        const double R = std::stod(csv[i][2]), C = std::stod(csv[i][3]);
        EXPECT_GE(R, 900);
        EXPECT_LE(R, 1100);
        EXPECT_GE(C, 0.95e-6 * 0.99);  // 3σ = 5 %: a draw beyond is rare, not impossible
        EXPECT_LE(C, 1.05e-6 * 1.01);
        resistances.insert(csv[i][2]);
        // The drawn values are the ones the runs used.
        const double tau = (R + 0.01) * C;
        EXPECT_NEAR(std::stod(csv[i][4]), tau * std::log(9.0), 0.01 * tau * std::log(9.0) + 1e-5);
    }
    EXPECT_EQ(resistances.size(), 6u);
    const SimResult other = RunSimCommand("-q -s T=0.001 --monte-carlo 6 --tolerance R1.R=10% --seed 43 -o " +
                                              dir.File("c") + " " + ExamplePath("rc.dvn"),
                                          dir.Path().string());
    ASSERT_EQ(other.status, 0);
    EXPECT_NE(ReadCsv(dir.File("c/summary.csv"))[1][2], csv[1][2]);
}

TEST(Sweep, ABadVaryFailsBeforeAnyRunNamingIt) {
    TempDir dir;
    const std::string out = dir.File("never");
    const std::string file = ExamplePath("dc_drive_cascade.dvn");
    const struct {
        std::string arg, says;
    } cases[] = {
        {"--vary R9.R=1,2", "--vary R9.R=1,2: в схеме нет элемента R9"},
        {"--vary M1.Q=1,2", "--vary M1.Q=1,2: у элемента M1 (Motor №9) нет параметра Q"},
        {"--vary M1.Jd=0.01,abc", "--vary M1.Jd=0.01,abc: значение 'abc' не является числом"},
        {"--vary M1.Jd=0.01,0", "--vary M1.Jd=0.01,0: элемент M1 не принимает значение Jd=0: Компонент Motor №9: "
                                "параметр Jd должен быть больше нуля."},
        {"--vary \"M1.La=0.0064,1;0.007,9\"", "--vary M1.La=0.0064,1;0.007,9: элемент M1 не принимает значение "
                                              "La=0.007,9"},
        {"--vary A4.K=1:2", "--vary A4.K=1:2: диапазон задаётся как НАЧАЛО:КОНЕЦ:ЧИСЛО[:log]"},
        {"--vary A4.K=1 --measure 'w=peak(A1)'", "--measure w=peak(A1): неизвестный вид 'peak'"},
        {"--vary A4.K=1 --measure 'w=max(M1)'", "--measure w=max(M1): 'M1' не является плоттером или индикатором схемы"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arg);
        const SimResult r = RunSimCommand("-q -o " + out + " " + c.arg + " " + file, dir.Path().string());
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST(Sweep, RangesAndValuesWithTheirUnits) {
    TempDir dir;
    const std::string out = dir.File("r");
    ASSERT_EQ(RunSimCommand("-q -s T=0.001 -o " + out + " --vary R1.R=100:10000:3:log --vary \"C1.C=1E-6,2;2E-6,1\" " +
                                ExamplePath("rc.dvn"),
                            dir.Path().string())
                  .status,
              0);
    EXPECT_EQ(FileBytes(out + "/summary.csv"), "run,status,R1.R,C1.C\n"
                                               "1,finished,100,1E-6\n2,finished,100,2E-6\n"
                                               "3,finished,1000,1E-6\n4,finished,1000,2E-6\n"
                                               "5,finished,10000,1E-6\n6,finished,10000,2E-6\n");
    EXPECT_EQ(FileBytes(out + "/run-0004/variant.txt"), "R1.R=1000 C1.C=2E-6\n");
    // A smaller series into the same directory lists only its own runs.
    ASSERT_EQ(RunSimCommand("-q -s T=0.001 -o " + out + " --vary R1.R=5:6:2 " + ExamplePath("rc.dvn"),
                            dir.Path().string())
                  .status,
              0);
    EXPECT_EQ(FileBytes(out + "/summary.csv"), "run,status,R1.R\n1,finished,5\n2,finished,6\n");
}

// Ctrl+C stops the series: the variants running stop, no more start, and
// the summary holds those that had finished, each with its files.
TEST(Sweep, InterruptKeepsTheFinishedVariants) {
    TempDir dir;
    const std::string out = dir.File("stopped");
    const std::string cmd = std::string(QUENTOR_BINARY_DIR) + "/quentor-sim -q -j 1 -o " + out +
                            " --vary M1.Jd=0.01:0.05:40 " + ExamplePath("dc_drive_cascade.dvn");
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", ("exec " + cmd + " 2>/dev/null").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Wait until two variants have ended, then interrupt.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(out + "/run-0002/row.csv") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    kill(pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    const auto csv = ReadCsv(out + "/summary.csv");
    ASSERT_GE(csv.size(), 3u);
    EXPECT_LT(csv.size(), 41u);
    for (std::size_t i = 1; i < csv.size(); ++i) {
        EXPECT_EQ(csv[i][0], std::to_string(i));
        EXPECT_EQ(csv[i][1], "finished");
        char run[40];
        std::snprintf(run, sizeof run, "/run-%04zu/graf.grp", i);
        EXPECT_EQ(ReadGrafGrp(out + run).Consumers, 2);
    }
    EXPECT_FALSE(fs::exists(out + "/run-0040/row.csv"));
}

} // namespace
