#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <cmath>
#include <limits>

#include "GrpSamples.h"
#include "support/TempDir.h"
#include "vielo/GrpFile.h"

namespace {

GrpReadResult Parse(const std::vector<unsigned char>& bytes) {
    return ParseGrp(bytes.data(), bytes.size(), "graf.grp");
}

std::vector<unsigned char> Header(std::int32_t inputs, std::int32_t steps, float gs) {
    std::vector<unsigned char> out;
    PutInt32(out, inputs);
    PutInt32(out, steps);
    PutFloat(out, gs);
    return out;
}

TEST(GrpLayout, LittleEndianFieldsAsTheEngineWritesThem) {
    // Two inputs, T / GS = 100, GS = 0.5; samples (0; 1, -2) and (0.5; 0.25, 3).
    const std::vector<unsigned char> bytes = {
        0x02, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3f,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x3f, 0x00, 0x00, 0x00, 0xc0,
        0x00, 0x00, 0x00, 0x3f, 0x00, 0x00, 0x80, 0x3e, 0x00, 0x00, 0x40, 0x40,
    };
    const GrpReadResult r = Parse(bytes);
    ASSERT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(r.Data.Header.Inputs, 2);
    EXPECT_EQ(r.Data.Header.StepCount, 100);
    EXPECT_EQ(r.Data.Header.OutputStep, 0.5f);
    EXPECT_EQ(r.Data.Times, (std::vector<float>{0.0f, 0.5f}));
    ASSERT_EQ(r.Data.InputCount(), 2);
    EXPECT_EQ(r.Data.Values[0], (std::vector<float>{1.0f, 0.25f}));
    EXPECT_EQ(r.Data.Values[1], (std::vector<float>{-2.0f, 3.0f}));
    EXPECT_EQ(r.Data.IgnoredTailBytes, 0u);
}

TEST(GrpInputs, NoneOneAndManyColumnsComeBackAsWritten) {
    for (int inputs : {0, 1, 2, 37}) {
        const GrpData written = SineRun(inputs, 250);
        const GrpReadResult r = Parse(EncodeGrp(written));
        ASSERT_TRUE(r.Ok()) << inputs << ": " << r.Message;
        EXPECT_EQ(r.Warning.empty(), inputs > 0) << inputs;
        EXPECT_EQ(r.Data.SampleCount(), 250u) << inputs;
        EXPECT_EQ(r.Data.Times, written.Times) << inputs;
        EXPECT_EQ(r.Data.Values, written.Values) << inputs;
    }
}

TEST(GrpInputs, ZeroInputsStillCarryTheTimes) {
    const GrpReadResult r = Parse(EncodeGrp(SineRun(0, 3)));
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Warning, "В файле graf.grp нет ни одного входа");
    EXPECT_EQ(r.Data.InputCount(), 0);
    EXPECT_EQ(r.Data.Times, (std::vector<float>{0.0f, 0.01f, 0.02f}));
}

TEST(GrpTruncation, EmptyAndPartialHeadersAreRefused) {
    const GrpReadResult empty = Parse({});
    EXPECT_EQ(empty.Error, GrpError::Empty);
    EXPECT_EQ(empty.Message, "Файл graf.grp пуст");

    auto header = Header(1, 10, 0.1f);
    for (std::size_t size : {1u, 4u, 11u}) {
        const GrpReadResult r = ParseGrp(header.data(), size, "graf.grp");
        EXPECT_EQ(r.Error, GrpError::ShortHeader) << size;
        EXPECT_EQ(r.Message, "Файл graf.grp повреждён: неполный заголовок (" +
                                 std::to_string(size) + " байт из 12)");
    }
}

TEST(GrpTruncation, HeaderAloneIsARunWithoutSamples) {
    const GrpReadResult r = Parse(Header(2, 100, 0.01f));
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Warning, "В файле graf.grp нет ни одного отсчёта");
    EXPECT_EQ(r.Data.SampleCount(), 0u);
    EXPECT_EQ(r.Data.InputCount(), 2);
    EXPECT_TRUE(r.Data.Values[0].empty());
}

TEST(GrpTruncation, PartialLastSampleIsIgnored) {
    // Three inputs: 16 bytes per sample; cut 5 bytes into the fourth.
    const GrpData written = SineRun(3, 4);
    auto bytes = EncodeGrp(written);
    bytes.resize(12 + 3 * 16 + 5);
    const GrpReadResult r = Parse(bytes);
    ASSERT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(r.Data.SampleCount(), 3u);
    EXPECT_EQ(r.Data.IgnoredTailBytes, 5u);
    EXPECT_EQ(r.Data.Values[2],
              std::vector<float>(written.Values[2].begin(), written.Values[2].begin() + 3));

    bytes.resize(12 + 15);
    const GrpReadResult lessThanOne = Parse(bytes);
    ASSERT_TRUE(lessThanOne.Ok());
    EXPECT_EQ(lessThanOne.Data.SampleCount(), 0u);
    EXPECT_EQ(lessThanOne.Data.IgnoredTailBytes, 15u);
}

TEST(GrpHeaderCount, SampleCountFollowsTheFileSizeNotTheHeader) {
    // A stopped run: T / GS says 100, but 51 samples were written.
    GrpData stopped = SineRun(2, 51);
    stopped.Header.StepCount = 100;
    GrpReadResult r = Parse(EncodeGrp(stopped));
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Data.SampleCount(), 51u);
    EXPECT_EQ(r.Data.Header.StepCount, 100);

    // More samples than T / GS + 1 (GS below h samples every step).
    GrpData dense = SineRun(1, 40);
    dense.Header.StepCount = 5;
    r = Parse(EncodeGrp(dense));
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Data.SampleCount(), 40u);

    // T / GS beyond the int32 range comes out as garbage in that field.
    GrpData longRun = SineRun(1, 3);
    longRun.Header.StepCount = INT_MIN;
    longRun.Header.OutputStep = 0;
    r = Parse(EncodeGrp(longRun));
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.Data.SampleCount(), 3u);
}

TEST(GrpGarbage, NegativeOrAbsurdInputCountsAreRefused) {
    for (std::int32_t inputs : {-1, -100000, INT_MIN, MaxGrpInputs + 1, INT_MAX}) {
        auto bytes = Header(inputs, 10, 0.1f);
        bytes.resize(bytes.size() + 64, 0);
        const GrpReadResult r = Parse(bytes);
        EXPECT_EQ(r.Error, GrpError::BadInputCount) << inputs;
        EXPECT_EQ(r.Message, "Файл graf.grp повреждён: недопустимое число входов (" +
                                 std::to_string(inputs) + ")");
    }
    // Text where the header should be: "ABCD" is 0x44434241 inputs.
    const std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const GrpReadResult r =
        ParseGrp(reinterpret_cast<const unsigned char*>(text.data()), text.size(), "graf.grp");
    EXPECT_EQ(r.Error, GrpError::BadInputCount);
    EXPECT_EQ(r.Message, "Файл graf.grp повреждён: недопустимое число входов (1145258561)");

    EXPECT_TRUE(Parse(Header(MaxGrpInputs, 10, 0.1f)).Ok());
}

TEST(GrpGarbage, TimesMustBeNumbersThatNeverDecrease) {
    GrpData d = SineRun(1, 5);
    d.Times[3] = std::numeric_limits<float>::quiet_NaN();
    GrpReadResult r = Parse(EncodeGrp(d));
    EXPECT_EQ(r.Error, GrpError::BadTime);
    EXPECT_EQ(r.Message, "Файл graf.grp повреждён: время отсчёта 4 не является числом");

    d = SineRun(1, 5);
    d.Times[2] = std::numeric_limits<float>::infinity();
    EXPECT_EQ(Parse(EncodeGrp(d)).Error, GrpError::BadTime);

    d = SineRun(1, 5);
    d.Times[4] = 0.025f;
    r = Parse(EncodeGrp(d));
    EXPECT_EQ(r.Error, GrpError::BadTime);
    EXPECT_EQ(r.Message, "Файл graf.grp повреждён: время отсчёта 5 меньше предыдущего");

    // Equal times are fine: a step shorter than float resolution.
    d = SineRun(1, 5);
    d.Times[2] = d.Times[1];
    EXPECT_TRUE(Parse(EncodeGrp(d)).Ok());
}

TEST(GrpValues, DivergedValuesAreKeptNotRefused) {
    GrpData d = SineRun(2, 4);
    d.Values[0][2] = std::numeric_limits<float>::infinity();
    d.Values[1][3] = std::numeric_limits<float>::quiet_NaN();
    const GrpReadResult r = Parse(EncodeGrp(d));
    ASSERT_TRUE(r.Ok());
    EXPECT_TRUE(std::isinf(r.Data.Values[0][2]));
    EXPECT_TRUE(std::isnan(r.Data.Values[1][3]));
}

TEST(GrpFiles, MissingUnreadableAndGoodFiles) {
    TempDir dir;
    const GrpReadResult missing = ReadGrpFile(dir.File("graf.grp"));
    EXPECT_EQ(missing.Error, GrpError::NotFound);
    EXPECT_EQ(missing.Message, "Файл graf.grp не найден");

    const GrpReadResult directory = ReadGrpFile(dir.Path().string());
    EXPECT_EQ(directory.Error, GrpError::Unreadable);
    EXPECT_EQ(directory.Message, "Не удаётся прочитать файл " + dir.Path().filename().string());

    WriteFileBytes(dir.File("empty.grp"), {});
    EXPECT_EQ(ReadGrpFile(dir.File("empty.grp")).Message, "Файл empty.grp пуст");

    const GrpData run = ControlRun();
    WriteFileBytes(dir.File("run.grp"), EncodeGrp(run));
    const GrpReadResult r = ReadGrpFile(dir.File("run.grp"));
    ASSERT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(r.Data.SampleCount(), 401u);
    EXPECT_EQ(r.Data.Header.StepCount, 400);
    EXPECT_EQ(r.Data.Values, run.Values);
}

TEST(GrpNames, InputsAreNumberedFromOne) {
    EXPECT_EQ(InputName(0), "Вход 1");
    EXPECT_EQ(InputName(11), "Вход 12");
}

TEST(GrpNames, TheSideFileNamesEachInputInOrder) {
    EXPECT_EQ(ParseInputNames("1\tM1: скорость, рад/с\n2\tPA1: ток, А\n3\t\n", 3),
              (std::vector<std::string>{"M1: скорость, рад/с", "PA1: ток, А", ""}));
    // Written on another system: CR LF, a byte-order mark, no last line end.
    EXPECT_EQ(ParseInputNames("\xEF\xBB\xBF" "1\tA1\r\n2\tA2", 2),
              (std::vector<std::string>{"A1", "A2"}));
    EXPECT_EQ(ParseInputNames("", 0), std::vector<std::string>{});

    GrpData d = SineRun(3, 2);
    d.Names = {"M1: скорость, рад/с", "", "A1"};
    EXPECT_EQ(d.InputName(0), "M1: скорость, рад/с");
    EXPECT_EQ(d.InputName(1), "Вход 2"); // the run could not name it
    EXPECT_EQ(d.InputName(2), "A1");
    d.Names.clear();
    EXPECT_EQ(d.InputName(2), "Вход 3");
    EXPECT_EQ(InputNamesPath("/runs/graf.grp"), "/runs/graf.names");
    EXPECT_EQ(InputNamesPath("run2.grp"), "run2.names");
}

TEST(GrpNames, ADamagedSideFileNamesNothing) {
    const std::string good = "1\tA1\n2\tA2\n";
    ASSERT_EQ(ParseInputNames(good, 2).size(), 2u);
    for (const std::string& text : {
             std::string("1\tA1\n"),                 // a line missing
             good + "3\tA3\n",                       // a line too many
             good + "\n",                             // an empty line after the last
             std::string("2\tA2\n1\tA1\n"),          // out of order
             std::string("1\tA1\n02\tA2\n"),         // not the plain number
             std::string("1 A1\n2 A2\n"),             // no tab
             std::string("1\tA1\n2\tA\x01" "2\n"),   // a control character
             std::string("1\tA1\n2\tA\t2\n"),        // a second tab
             std::string("1\tA1\n2\t\xD0\n"),         // a cut UTF-8 sequence
             std::string("1\tA1\n2\t\xC0\xAF\n"),     // an overlong form
             std::string("1\tA1\n2\t\xED\xA0\x80\n"), // a surrogate
             "1\tA1\n2\t" + std::string(300, 'x') + "\n", // longer than a legend holds
             std::string("\x89PNG\r\n\x1A\n"),
         })
        EXPECT_EQ(ParseInputNames(text, 2), std::vector<std::string>{}) << text;
}

TEST(GrpNames, ReadingTakesTheSideFileWhenItFits) {
    TempDir dir;
    const GrpData run = ControlRun();
    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(run));
    auto names = [&dir] {
        const GrpReadResult r = ReadGrpFile(dir.File("graf.grp"));
        EXPECT_TRUE(r.Ok()) << r.Message;
        std::vector<std::string> all;
        for (int i = 0; i < r.Data.InputCount(); ++i) all.push_back(r.Data.InputName(i));
        return all;
    };
    EXPECT_EQ(names(), (std::vector<std::string>{"Вход 1", "Вход 2", "Вход 3"}));

    const std::string text = "1\tA1\n2\tPV1: напряжение, В\n3\t\n";
    WriteFileBytes(dir.File("graf.names"), std::vector<unsigned char>(text.begin(), text.end()));
    EXPECT_EQ(names(), (std::vector<std::string>{"A1", "PV1: напряжение, В", "Вход 3"}));

    // Names of an earlier run with fewer inputs name nothing.
    const std::string stale = "1\tA1\n2\tA2\n";
    WriteFileBytes(dir.File("graf.names"), std::vector<unsigned char>(stale.begin(), stale.end()));
    EXPECT_EQ(names(), (std::vector<std::string>{"Вход 1", "Вход 2", "Вход 3"}));

    // A huge or unreadable side file does not stop the plot from opening.
    WriteFileBytes(dir.File("graf.names"), std::vector<unsigned char>(1 << 20, 'x'));
    EXPECT_EQ(names(), (std::vector<std::string>{"Вход 1", "Вход 2", "Вход 3"}));
    std::filesystem::remove(dir.File("graf.names"));
    std::filesystem::create_directory(dir.File("graf.names"));
    EXPECT_EQ(names(), (std::vector<std::string>{"Вход 1", "Вход 2", "Вход 3"}));
}

} // namespace

namespace {

TEST(GrpShownInputs, MoreInputsThanAPlotCanShowAreRefusedWithTheirCount) {
    EXPECT_EQ(ShownInputsProblem(SineRun(MaxShownInputs, 3), "graf.grp"), "");
    EXPECT_EQ(
        ShownInputsProblem(SineRun(1000, 3), "graf.grp"),
        "В файле graf.grp 1000 входов, а показать можно не больше 200. Все входы можно вывести в "
        "таблицу: vielo --csv ФАЙЛ.csv");
}

} // namespace

// The runs of a sweep shown together: each file's inputs follow the
// previous file's, named by the variant written beside it (or its folder).
TEST(GrpFile, SeveralRunsBecomeOneSetNamedByTheirVariants) {
    TempDir dir;
    const GrpData a = SineRun(2, 50), b = SineRun(1, 40);
    std::filesystem::create_directories(dir.Path() / "run-0001");
    std::filesystem::create_directories(dir.Path() / "run-0002");
    WriteFileBytes(dir.File("run-0001/graf.grp"), EncodeGrp(a));
    WriteFileBytes(dir.File("run-0002/graf.grp"), EncodeGrp(b));
    {
        std::ofstream variant(dir.File("run-0001/variant.txt"));
        variant << "A4.K=0.5 M1.Jd=0.01\n";
    }
    const GrpReadResult r = ReadGrpFiles({dir.File("run-0001/graf.grp"), dir.File("run-0002/graf.grp")});
    ASSERT_TRUE(r.Ok()) << r.Message;
    ASSERT_EQ(r.Data.InputCount(), 3);
    EXPECT_EQ(r.Data.Header.Inputs, 3);
    // A stopped run has fewer samples: the common 40 are shown.
    EXPECT_EQ(r.Data.SampleCount(), 40u);
    EXPECT_EQ(r.Data.InputName(0), "A4.K=0.5 M1.Jd=0.01: Вход 1");
    EXPECT_EQ(r.Data.InputName(1), "A4.K=0.5 M1.Jd=0.01: Вход 2");
    EXPECT_EQ(r.Data.InputName(2), "run-0002: Вход 1");
    for (std::size_t k = 0; k < 40; ++k) {
        EXPECT_EQ(r.Data.Values[1][k], a.Values[1][k]);
        EXPECT_EQ(r.Data.Values[2][k], b.Values[0][k]);
    }
    // One file keeps the plain names.
    const GrpReadResult one = ReadGrpFiles({dir.File("run-0001/graf.grp")});
    ASSERT_TRUE(one.Ok());
    EXPECT_EQ(one.Data.InputName(1), "Вход 2");

    GrpData shifted = SineRun(1, 40);
    for (float& t : shifted.Times) t += 0.5f;
    WriteFileBytes(dir.File("other.grp"), EncodeGrp(shifted));
    const GrpReadResult refused = ReadGrpFiles({dir.File("run-0001/graf.grp"), dir.File("other.grp")});
    EXPECT_FALSE(refused.Ok());
    EXPECT_NE(refused.Message.find("взяты в другие моменты времени"), std::string::npos) << refused.Message;
}
