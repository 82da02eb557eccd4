#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <locale>
#include <random>
#include <sstream>

#include "GrpSamples.h"
#include "support/TempDir.h"
#include "vielo/CsvExport.h"

namespace {

GrpData Small() {
    GrpData d;
    d.Header = {2, 2, 0.01f};
    d.Times = {0.0f, 0.01f, 0.02f};
    d.Values = {{1.0f, -2.5f, 1e-7f}, {0.1f, 123456.0f, -0.0f}};
    return d;
}

// A stream locale that writes "," as the decimal point, as a Russian desktop does.
struct CommaPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(Csv, HeaderThenOneRowPerSample) {
    std::ostringstream out;
    WriteCsv(Small(), out);
    EXPECT_EQ(out.str(), "Время,Вход 1,Вход 2\n"
                         "0,1,0.1\n"
                         "0.01,-2.5,123456\n"
                         "0.02,1e-07,-0\n");
}

TEST(Csv, TheHeaderNamesTheInputsAndQuotesWhatHoldsACommaOrAQuote) {
    GrpData d = Small();
    d.Names = {"M1: скорость, рад/с", "A1"};
    std::ostringstream out;
    WriteCsv(d, out);
    EXPECT_EQ(out.str(), "Время,\"M1: скорость, рад/с\",A1\n"
                         "0,1,0.1\n"
                         "0.01,-2.5,123456\n"
                         "0.02,1e-07,-0\n");
    d.Names = {"A \"x\"", ""};
    out.str("");
    WriteCsv(d, out);
    EXPECT_EQ(out.str().substr(0, out.str().find('\n')), "Время,\"A \"\"x\"\"\",Вход 2");
}

TEST(Csv, DecimalPointStaysAPointUnderACommaLocale) {
    std::ostringstream out;
    out.imbue(std::locale(std::locale::classic(), new CommaPoint));
    WriteCsv(Small(), out);
    EXPECT_NE(out.str().find("0.01,-2.5,123456\n"), std::string::npos) << out.str();
}

TEST(Csv, NoInputsGivesTheTimeColumnAlone) {
    std::ostringstream out;
    WriteCsv(SineRun(0, 3), out);
    EXPECT_EQ(out.str(), "Время\n0\n0.01\n0.02\n");
}

TEST(Csv, UndefinedValuesAreWrittenAsNanAndInf) {
    GrpData d = Small();
    d.Values[0][0] = std::numeric_limits<float>::quiet_NaN();
    d.Values[0][1] = std::numeric_limits<float>::infinity();
    d.Values[0][2] = -std::numeric_limits<float>::infinity();
    std::ostringstream out;
    WriteCsv(d, out);
    EXPECT_EQ(out.str(), "Время,Вход 1,Вход 2\n0,nan,0.1\n0.01,inf,123456\n0.02,-inf,-0\n");
}

TEST(Csv, EveryNumberReadsBackToTheSameFloat) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<std::uint32_t> bits;
    GrpData d;
    d.Header = {1, 0, 1};
    d.Values.resize(1);
    for (int i = 0; i < 3000; ++i) {
        float v;
        do
            v = std::bit_cast<float>(bits(rng));
        while (!std::isfinite(v));
        d.Times.push_back(static_cast<float>(i));
        d.Values[0].push_back(v);
    }
    std::ostringstream out;
    WriteCsv(d, out);
    std::istringstream in(out.str());
    std::string line;
    std::getline(in, line);
    for (int i = 0; std::getline(in, line); ++i) {
        const auto comma = line.find(',');
        ASSERT_NE(comma, std::string::npos);
        EXPECT_EQ(std::strtof(line.c_str() + comma + 1, nullptr), d.Values[0][i]) << line;
    }
}

TEST(Csv, FilesAreWrittenOrTheReasonIsGiven) {
    TempDir dir;
    const GrpData run = ControlRun();
    ASSERT_EQ(WriteCsvFile(run, dir.File("graf.csv")), "");
    std::ifstream in(dir.File("graf.csv"));
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    std::ostringstream expected;
    WriteCsv(run, expected);
    EXPECT_EQ(text, expected.str());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 402);

    EXPECT_EQ(WriteCsvFile(run, dir.File("no/such/dir/graf.csv")),
              "Не удаётся создать файл graf.csv");
}

} // namespace
