#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "params/Cp1251.h"
#include "support/TempDir.h"

namespace {

TEST(Cp1251, EveryCyrillicLetterAndNumeroSignRoundTripExactly) {
    std::string utf8 = "ЁёАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя№";
    const std::string bytes = Utf8ToCp1251(utf8);
    ASSERT_EQ(bytes.size(), 67u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xA8);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xB8);
    EXPECT_EQ(static_cast<unsigned char>(bytes[2]), 0xC0);
    EXPECT_EQ(static_cast<unsigned char>(bytes[65]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[66]), 0xB9);
    EXPECT_EQ(Cp1251ToUtf8(bytes), utf8);
}

TEST(Cp1251, AllBytesDecodeAndEncodeBack) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += char(b);
    const std::string utf8 = Cp1251ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1251(utf8), all);
    // 255 distinct characters: no two bytes share one.
    std::size_t characters = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++characters;
    EXPECT_EQ(characters, 255u);
}

TEST(Cp1251, TheUnassignedByteSurvivesADatabaseLoadAndSave) {
    TempDir dir;
    const std::string path = dir.File("Diodes.edb");
    const std::string bytes = "[\xC4\x98-1]\r\nUpr=1,2\r\n";
    { std::ofstream(path, std::ios::binary) << bytes; }
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextFile(path, lines));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].find("\xEF\xBF\xBD"), std::string::npos) << "not the replacement character";
    lines.push_back("Iобр=1E-5,0");
    ASSERT_TRUE(WriteTextFile(path, lines));
    std::ifstream in(path, std::ios::binary);
    std::stringstream raw;
    raw << in.rdbuf();
    EXPECT_EQ(raw.str(), bytes + "I\xEE\xE1\xF0=1E-5,0\r\n");
}

TEST(Cp1251, UnrepresentableAndMalformedTextBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("a\xE2\x88\x9E"
                           "b"),
              "a?b"); // infinity sign
    EXPECT_EQ(Utf8ToCp1251("\xFF\xC3"), "??");
}

TEST(Cp1251, LinesSplitAtAnyLineEnd) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(Cp1251, FilesAreWrittenWithCrLfAndReadBackAsUtf8) {
    TempDir dir;
    const std::string path = dir.File("t.txt");
    ASSERT_TRUE(WriteTextFile(path, {"Диод=1", "№ 5"}));
    std::ifstream in(path, std::ios::binary);
    std::stringstream raw;
    raw << in.rdbuf();
    EXPECT_EQ(raw.str(), "\xC4\xE8\xEE\xE4=1\r\n\xB9 5\r\n");
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextFile(path, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"Диод=1", "№ 5"}));
    EXPECT_FALSE(ReadTextFile(dir.File("missing"), lines));
}

TEST(Cp1251, CaseFoldingCoversBothAlphabets) {
    EXPECT_TRUE(EqualsIgnoreCase("КД-202А Ё", "кд-202а ё"));
    EXPECT_TRUE(EqualsIgnoreCase("Uобр", "UОБР"));
    EXPECT_FALSE(EqualsIgnoreCase("Uобр", "Uпр"));
}

} // namespace
