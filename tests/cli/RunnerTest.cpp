#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "params/Cp1251.h"
#include "support/ExampleBuilder.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs quentor-sim with the arguments (shell-quoted by the caller).
Result RunSim(const std::string& args, const TempDir& dir) {
    const std::string errFile = dir.File("stderr.txt");
    const std::string cmd =
        std::string(QUENTOR_BINARY_DIR) + "/quentor-sim " + args + " 2>" + errFile;
    Result r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
        r.out.append(buf.data(), n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    FILE* e = fopen(errFile.c_str(), "r");
    if (e) {
        while ((n = fread(buf.data(), 1, buf.size(), e)) > 0)
            r.err.append(buf.data(), n);
        fclose(e);
    }
    return r;
}

std::string FileText(const std::string& path) {
    std::string text;
    if (FILE* f = fopen(path.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0)
            text.append(buf, n);
        fclose(f);
    }
    return text;
}

std::string Example(const char* name) {
    return std::string(QUENTOR_SOURCE_DIR) + "/examples/" + name;
}

TEST(Runner, RunsAnExampleIntoTheOutputDirectory) {
    TempDir dir;
    const std::string out = dir.File("results/deeper");
    const Result r = RunSim("-o " + out + " " + Example("rc.dvn"), dir);
    EXPECT_EQ(r.status, 0) << r.err;
    const auto rows = ReadGrafDat(out + "/graf.dat");
    // Samples at 0, 0.05 ms, ... up to T (the last one only when the summed
    // steps reach it before T).
    ASSERT_GE(rows.size(), 100u);
    ASSERT_LE(rows.size(), 101u);
    EXPECT_NEAR(rows[20].back(), 7.6, 0.05);
    EXPECT_EQ(ReadGrafGrp(out + "/graf.grp").Consumers, 1);
    EXPECT_NE(FileText(out + "/debug.txt").find("g=[\n"), std::string::npos);
    // The closing summary line.
    EXPECT_NE(r.err.find("отсчётов " + std::to_string(rows.size()) + ", итераций Ньютона"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.rfind("шагов ", 0), 0u) << r.err;
}

TEST(Runner, QuietPrintsNothingAndSettingsCanBeOverridden) {
    TempDir dir;
    const Result r = RunSim(
        "-q -s T=0.001 --set GS=0.0005 -o " + dir.Path().string() + " " + Example("rc.dvn"), dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
    EXPECT_GE(ReadGrafDat(dir.File("graf.dat")).size(), 2u);
    EXPECT_LE(ReadGrafDat(dir.File("graf.dat")).size(), 3u);
}

TEST(Runner, InfoDescribesTheLoadedSchematic) {
    TempDir dir;
    const Result r = RunSim("--info " + Example("divider.dvn"), dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(
        r.out.find("\"settings\":{\"T\":0.01,\"h\":0.0001,\"pr\":1E-7,\"TNC\":1E-6,\"GS\":0.001}"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"index\":0,\"name\":\"VoltageSource\",\"class\":\"TVoltageSource\""),
              std::string::npos);
    EXPECT_NE(
        r.out.find("\"inputs\":[{\"name\":\"Input\",\"source\":{\"element\":5,\"output\":0}}]"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"R\":{\"value\":2000,\"unit\":1}"), std::string::npos);
}

TEST(Runner, ClassesListsEveryElementClass) {
    TempDir dir;
    const Result r = RunSim("--classes", dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("{\"name\":\"Amper\",\"class\":\"TAmper\",\"parent\":\"TProducer\","
                         "\"family\":\"TProducer\","
                         "\"pins\":[{\"kind\":\"O\",\"name\":\"Output\""),
              std::string::npos)
        << r.out.substr(0, 400);
    EXPECT_NE(r.out.find("\"database\":\"Amper\""), std::string::npos);
}

TEST(Runner, ExitStatusesTellWhatWentWrong) {
    TempDir dir;
    EXPECT_EQ(RunSim("", dir).status, 2);
    EXPECT_EQ(RunSim("--bogus x.dvn", dir).status, 2);
    EXPECT_EQ(RunSim("-s Q=1 " + Example("rc.dvn"), dir).status, 2);
    EXPECT_EQ(RunSim("-s h=abc " + Example("rc.dvn"), dir).status, 2);
    const Result missing = RunSim(dir.File("missing.dvn"), dir);
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("error: "), std::string::npos);
    const Result invalid =
        RunSim("-s h=0 -o " + dir.Path().string() + " " + Example("rc.dvn"), dir);
    EXPECT_EQ(invalid.status, 2);
    EXPECT_NE(invalid.err.find("error: Шаг моделирования должен быть больше нуля."),
              std::string::npos);
    FILE* f = fopen(dir.File("bad.dvn").c_str(), "w");
    fputs("not a schematic\r\n", f);
    fclose(f);
    const Result bad = RunSim(dir.File("bad.dvn"), dir);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("error: Это не есть файл-схема для данной программы"),
              std::string::npos);
    EXPECT_EQ(RunSim("--help", dir).status, 0);
    EXPECT_EQ(RunSim("--version", dir).status, 0);
}

TEST(Runner, ErrorsWhileLoadingStillRunAndExitWithOne) {
    TempDir dir;
    FILE* f = fopen(dir.File("odd.dvn").c_str(), "w");
    fputs("Dravon Ver "
          "1.0\r\nT=0.001\r\nLines:\r\nEOL\r\nConnections:\r\nEOC\r\nResistor:1,1,0,0,0\r\n "
          "Q=1\r\nEOE\r\n\r\nEOT\r\n",
          f);
    fclose(f);
    const Result r = RunSim("-q -o " + dir.Path().string() + " " + dir.File("odd.dvn"), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("error: Компонент Resistor не содержит параметра Q!"), std::string::npos)
        << r.err;
}

TEST(Runner, EveryLoadProblemIsPrintedThenTheirCount) {
    TempDir dir;
    FILE* f = fopen(dir.File("odd.dvn").c_str(), "w");
    fputs("Dravon Ver "
          "1.0\r\nT=0,001\r\nLines:\r\nEOL\r\nConnections:\r\nEOC\r\nResistor:1,1,0,0,0\r\n Q=1\r\n"
          " R=abc\r\nEOE\r\n\r\nEOT\r\n",
          f);
    fclose(f);
    const Result r = RunSim("-q --info " + dir.File("odd.dvn"), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "error: Строка 2, параметр T: \"0,001\" не является числом\n"
              "error: Компонент Resistor не содержит параметра Q!\n"
              "error: Строка 9, элемент Resistor №0, параметр R: \"abc\" не является числом\n"
              "error: Всего ошибок при чтении файла: 3\n");
}

TEST(Runner, AMeaninglessCircuitIsWarnedAboutAndStillRuns) {
    TempDir dir;
    Schematic sheet;
    ExampleBuilder b(sheet);
    // A resistor with one open wire: nothing grounds, feeds or closes it.
    auto* r = b.Place("TResistor", "Connector1", {200, 100});
    b.Drag(r, "Connector1", {200, 200});
    sheet.RunSettings.T = 1e-3;
    sheet.RunSettings.GS = 1e-4;
    ASSERT_TRUE(SaveSchematic(sheet, dir.File("open.dvn")));
    const Result res = RunSim("-q -o " + dir.Path().string() + " " + dir.File("open.dvn"), dir);
    EXPECT_EQ(res.status, 0) << res.err;
    EXPECT_EQ(res.err,
              "warning: В электрической цепи нет заземления: ни один её узел не соединён с "
              "корпусом, потенциалы узлов отсчитываются от одного из них.\n"
              "warning: Узел с единственным подключением: к проводу от вывода Connector1 "
              "элемента R1 больше ничего не подключено.\n"
              "warning: В электрической цепи нет ни одного источника энергии: токи и напряжения "
              "в ней останутся нулевыми.\n");
    EXPECT_FALSE(ReadGrafDat(dir.File("graf.dat")).empty());
    // The shipped examples run without a word.
    EXPECT_EQ(RunSim("-q -o " + dir.Path().string() + " " + Example("rc.dvn"), dir).err, "");
}

TEST(Runner, APinOffItsSegmentsEndIsReported) {
    TempDir dir;
    Schematic sheet;
    ExampleBuilder b(sheet);
    auto* r = b.Place("TResistor", "Connector1", {200, 100});
    b.Drag(r, "Connector2", {400, 100});
    std::vector<std::string> lines = SchematicToLines(sheet);
    // The segment moved 50 pixels down, away from the pin it is listed for.
    const auto seg = std::find(lines.begin(), lines.end(), "Lines:") + 1;
    const auto first = seg->find(','), second = seg->find(',', first + 1);
    *seg = seg->substr(0, first + 1) + std::to_string(std::stol(seg->substr(first + 1)) + 50) +
           seg->substr(second);
    ASSERT_TRUE(WriteTextFile(dir.File("off.dvn"), lines));
    const Result res = RunSim("-q --info " + dir.File("off.dvn"), dir);
    EXPECT_EQ(res.status, 1);
    EXPECT_NE(
        res.err.find(
            "error: Строка 16, элемент Resistor №0: вывод Connector2 не лежит на конце отрезка 0"),
        std::string::npos)
        << res.err;
}

TEST(Runner, ATruncatedFileIsRefused) {
    TempDir dir;
    FILE* f = fopen(dir.File("cut.dvn").c_str(), "w");
    fputs("Dravon Ver "
          "1.0\r\nT=0.001\r\nLines:\r\nEOL\r\nConnections:\r\nEOC\r\nResistor:1,1,0,0,0\r\nEOE\r\n",
          f);
    fclose(f);
    const Result r = RunSim("-q -o " + dir.Path().string() + " " + dir.File("cut.dvn"), dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("error: Файл оборван: нет строки \"EOT\""), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("graf.dat")));
}

} // namespace
