#include <gtest/gtest.h>

#include "params/IniFile.h"
#include "support/TempDir.h"

namespace {

TEST(IniFile, MissingFileIsEmptyAndCreatedByTheFirstSave) {
    TempDir dir;
    TIniFile ini(dir.File("Diodes.edb"));
    EXPECT_TRUE(ini.Sections().empty());
    EXPECT_FALSE(ini.Read("Д226", "Uобр").has_value());
    ini.Write("Д226", "Uобр", "400,2");
    ASSERT_TRUE(ini.Save());
    TIniFile again(dir.File("Diodes.edb"));
    EXPECT_EQ(again.Sections(), (std::vector<std::string>{"Д226"}));
    EXPECT_EQ(again.Read("Д226", "Uобр", "0"), "400,2");
}

TEST(IniFile, SectionsAndKeysMatchWithoutRegardToCase) {
    TIniFile ini;
    ini.Write("КД202А", "Uобр", "1");
    ini.Write("кд202а", "UОБР", "2");  // same key of the same section
    ini.Write("КД202А", "Iпр", "3");
    EXPECT_EQ(ini.Sections().size(), 1u);
    EXPECT_EQ(ini.Keys("Кд202а"), (std::vector<std::string>{"Uобр", "Iпр"}));
    EXPECT_EQ(ini.Read("КД202А", "uобр", ""), "2");
    EXPECT_TRUE(ini.HasSection("кД202А"));
    ini.DeleteSection("кд202А");
    EXPECT_FALSE(ini.HasSection("КД202А"));
    EXPECT_TRUE(ini.Lines().empty());
}

TEST(IniFile, DeletingOneSectionKeepsTheOthersAndForeignLines) {
    TIniFile ini;
    ini.Write("A", "x", "1");
    ini.Write("B", "y", "2");
    ini.Write("C", "z", "3");
    ini.DeleteSection("b");
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(ini.Read("C", "z", ""), "3");
    ini.Write("A", "w", "4");
    EXPECT_EQ(ini.Keys("A"), (std::vector<std::string>{"x", "w"}));
}

TEST(IniFile, ReadsFilesWithBlanksCommentsAndOddLines) {
    TempDir dir;
    const std::string path = dir.File("db.edb");
    {
        TIniFile raw(path);
        raw.Write("x", "k", "v");
        ASSERT_TRUE(raw.Save());
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const char text[] = "; comment\r\n[ First ]\r\n  key = value \r\nnot a key line\r\n[Second]\nk2=v2";
    std::fwrite(text, 1, sizeof text - 1, f);
    std::fclose(f);
    TIniFile ini(path);
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(ini.Keys("first"), (std::vector<std::string>{"key"}));
    EXPECT_EQ(ini.Read("First", "KEY", ""), "value");
    EXPECT_EQ(ini.Read("Second", "k2", ""), "v2");
}

} // namespace
