#include <gtest/gtest.h>

#include <fstream>

#include <cmath>

#include <filesystem>

#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "params/Database.h"
#include "params/IniFile.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "support/TestElements.h"

namespace {

class ParamState : public ::testing::Test {
protected:
    TempDir dbDir;
    ScopedEnv env{"QUENTOR_DB_DIR", dbDir.Path().string()};
    RecordingMessages messages;
    Schematic sheet;

    TTestPart* NewPart() {
        return static_cast<TTestPart*>(CreateElementByName(sheet, "TTestPart"));
    }
};

TEST_F(ParamState, FindParamIsCaseSensitiveAndNamesTheElementWhenItFails) {
    TBaseElement* e = CreateElementByName(sheet, "TTestTwoPin");
    EXPECT_NE(e->FindParam("R"), nullptr);
    EXPECT_EQ(e->FindParam("r"), nullptr);
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Kind, "error");
    EXPECT_EQ(messages.Entries[0].Text, "Компонент TestTwoPin не содержит параметра r!");
    EXPECT_EQ(messages.Entries[0].Caption, "QUENTOR");
}

TEST_F(ParamState, NewElementsStartFromDefaultsAndComputeTheirModel) {
    TTestPart* e = NewPart();
    EXPECT_FALSE(e->ManualRefs);
    EXPECT_TRUE(e->AutoModel);
    EXPECT_EQ(e->MethodIndex, 0);
    EXPECT_TRUE(e->DeviceType.empty());
    ASSERT_EQ(e->ParamCount, 6);
    EXPECT_DOUBLE_EQ(e->ParamOf("Twice"), 4.0);
    EXPECT_DOUBLE_EQ(e->ParamOf("Hidden"), 7.0);
    e->FindParam("Twice")->Value = 1;
    e->AutoModel = false;
    e->ResetParams();
    EXPECT_DOUBLE_EQ(e->ParamOf("Twice"), 0.0); // the default, not recomputed
}

TEST_F(ParamState, NewElementRecordCarriesFlagsAndNoValues) {
    TTestPart* e = NewPart();
    std::vector<std::string> lines;
    e->SaveToStrings(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"TestPart:0,0,0,0,0,1(0,)[0]"}));

    TTestPart* back = NewPart();
    const std::string header = lines[0].substr(lines[0].find(':'));
    EXPECT_EQ(back->LoadFromStrings(header, lines, 0), 1);
    EXPECT_DOUBLE_EQ(back->ParamOf("A"), 2.0);
    EXPECT_EQ(back->FindParam("A")->Unit, 2);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(ParamState, HandEnteredValuesAndModelRowsOfTheMethodAreWritten) {
    TTestPart* e = NewPart();
    e->Left = 216;
    e->Top = 96;
    e->ManualRefs = true;
    e->AutoModel = false;
    e->MethodIndex = 1;
    e->DeviceType = "КД-1";
    e->FindParam("A")->Value = 0.25;
    e->FindParam("A")->Unit = 1;
    e->FindParam("Kind")->Unit = 1;
    e->FindParam("Twice")->Value = 1e-5;
    std::vector<std::string> lines;
    e->SaveToStrings(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"TestPart:216,96,0,0,0,0(1,КД-1)[1]", " A=0.25,1",
                                               " Kind=0,1", " Twice=1E-5", " One=6"}));

    lines.push_back("EOE");
    TTestPart* back = NewPart();
    EXPECT_EQ(back->LoadFromStrings(lines[0].substr(lines[0].find(':')), lines, 0), 5);
    EXPECT_EQ(back->Left, 216);
    EXPECT_EQ(back->Top, 96);
    EXPECT_TRUE(back->ManualRefs);
    EXPECT_FALSE(back->AutoModel);
    EXPECT_EQ(back->MethodIndex, 1);
    EXPECT_EQ(back->DeviceType, "КД-1");
    EXPECT_DOUBLE_EQ(back->ParamOf("A"), 0.25);
    EXPECT_EQ(back->FindParam("A")->Unit, 1);
    EXPECT_EQ(back->FindParam("Kind")->Unit, 1);
    EXPECT_DOUBLE_EQ(back->ParamOf("Twice"), 1e-5);
}

TEST_F(ParamState, RecordWithUnknownParameterAndDamagedUnitKeepsTheRest) {
    TTestPart* e = NewPart();
    const std::vector<std::string> lines = {"TestPart:10,20,0,1,0,0(1,)[0]", " Nope=3", " A=5,17",
                                            " Zero=9", "EOE"};
    EXPECT_EQ(e->LoadFromStrings(lines[0].substr(8), lines, 0), 4);
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{
                  "Компонент TestPart не содержит параметра Nope!",
                  "Строка 3, элемент TestPart №0, параметр A: \"5,17\": нет единицы "
                  "измерения с номером 17"}));
    // The damaged value is not taken at all.
    EXPECT_DOUBLE_EQ(e->ParamOf("A"), NewPart()->ParamOf("A"));
    EXPECT_EQ(e->FindParam("A")->Unit, 2);
    EXPECT_DOUBLE_EQ(e->ParamOf("Zero"), 9);
    EXPECT_TRUE(e->GetXFlip());
}

TEST_F(ParamState, DamagedNumbersInARecordNameLineElementAndKey) {
    TTestPart* e = NewPart();
    const std::vector<std::string> lines = {"x",         "TestPart:10,2o,0,0,0(1,)[0]",
                                            " A=--5,2",  " Zero=1 000",
                                            " A=abc",    " Zero=0,005",
                                            " Zero=inf", " Zero=1e309",
                                            " Zero=nan", " A=2.5,1",
                                            "EOE"};
    EXPECT_EQ(e->LoadFromStrings(lines[1].substr(8), lines, 1), 10);
    const std::string where = "элемент TestPart №0, ";
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{
                  "Строка 2, " + where + "поле top заголовка: \"2o\" не является числом",
                  "Строка 3, " + where + "параметр A: \"--5,2\" не является числом",
                  "Строка 4, " + where + "параметр Zero: \"1 000\" не является числом",
                  "Строка 5, " + where + "параметр A: \"abc\" не является числом",
                  "Строка 6, " + where + "параметр Zero: \"0,005\" не является числом",
                  "Строка 7, " + where + "параметр Zero: \"inf\" не является числом",
                  "Строка 8, " + where + "параметр Zero: \"1e309\" не является числом",
                  "Строка 9, " + where + "параметр Zero: \"nan\" не является числом",
              }));
    EXPECT_EQ(e->Left, 10);
    EXPECT_DOUBLE_EQ(e->ParamOf("A"), 2.5);
    EXPECT_EQ(e->FindParam("A")->Unit, 1);
    EXPECT_TRUE(std::isfinite(e->ParamOf("Zero")));
}

TEST_F(ParamState, TruncatedHeadersDoNotCrash) {
    TTestPart* e = NewPart();
    for (const char* header :
         {":", ":1", ":1,2,", ":1,2,0,0,0(", ":1,2,0,0,0(1", ":1,2,0,0,0[", ""}) {
        const std::vector<std::string> lines = {std::string("TestPart") + header};
        EXPECT_EQ(e->LoadFromStrings(header, lines, 0), 1) << header;
    }
}

TEST_F(ParamState, MissingDeviceTypeNamesTheDatabaseAndKeepsTheValues) {
    TTestPart* e = NewPart();
    e->FindParam("A")->Value = 9;
    EXPECT_FALSE(e->LoadDeviceType("Д9Б"));
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Kind, "error");
    EXPECT_EQ(messages.Entries[0].Text, "Тип Д9Б отсутствует в базе данных \"TestParts\"!");
    EXPECT_DOUBLE_EQ(e->ParamOf("A"), 9);
    EXPECT_TRUE(e->DeviceType.empty());
}

TEST_F(ParamState, SavedDeviceTypesLoadIntoOtherElements) {
    TTestPart* e = NewPart();
    e->FindParam("A")->Value = 0.5;
    e->FindParam("A")->Unit = 1;
    e->FindParam("Kind")->Unit = 1;
    ASSERT_TRUE(e->SaveDeviceType("КД-2"));
    EXPECT_TRUE(std::filesystem::exists(dbDir.File("TestParts.edb")));

    TTestPart* other = NewPart();
    other->CalcCalls = 0;
    EXPECT_TRUE(other->LoadDeviceType("кд-2"));
    EXPECT_EQ(other->DeviceType, "кд-2");
    EXPECT_DOUBLE_EQ(other->ParamOf("A"), 0.5);
    EXPECT_EQ(other->FindParam("Kind")->Unit, 1);
    EXPECT_DOUBLE_EQ(other->ParamOf("Twice"), 1.0);
    EXPECT_EQ(other->CalcCalls, 1);

    // A record naming the type takes the database's present values.
    TIniFile db(dbDir.File("TestParts.edb"));
    db.Write("КД-2", "A", "3,2");
    ASSERT_TRUE(db.Save());
    TTestPart* loaded = NewPart();
    const std::vector<std::string> lines = {"TestPart:1,1,0,0,0,1(0,КД-2)[0]", "EOE"};
    loaded->LoadFromStrings(lines[0].substr(8), lines, 0);
    EXPECT_EQ(loaded->DeviceType, "КД-2");
    EXPECT_DOUBLE_EQ(loaded->ParamOf("A"), 3);
    EXPECT_DOUBLE_EQ(loaded->ParamOf("Twice"), 6);

    ASSERT_TRUE(e->RemoveDeviceType("КД-2"));
    EXPECT_FALSE(TIniFile(dbDir.File("TestParts.edb")).HasSection("КД-2"));
    EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(ParamState, DeviceTypeWithAForeignKeyReportsItOnceAndLoadsTheOthers) {
    TIniFile db(dbDir.File("TestParts.edb"));
    db.Write("X1", "A", "7,2");
    db.Write("X1", "Bogus", "1");
    db.Write("X1", "Kind", "0,1");
    ASSERT_TRUE(db.Save());
    TTestPart* e = NewPart();
    EXPECT_TRUE(e->LoadDeviceType("X1"));
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"Компонент TestPart не содержит параметра Bogus!"}));
    EXPECT_DOUBLE_EQ(e->ParamOf("A"), 7);
    EXPECT_EQ(e->FindParam("Kind")->Unit, 1);
}

TEST_F(ParamState, DamagedDatabaseValuesAreReportedAndNotTaken) {
    TIniFile db(dbDir.File("TestParts.edb"));
    db.Write("X2", "A", "1 000,1");
    db.Write("X2", "Zero", "inf");
    db.Write("X2", "Kind", "0,1");
    ASSERT_TRUE(db.Save());
    TTestPart* e = NewPart();
    const double a = e->ParamOf("A"), zero = e->ParamOf("Zero");
    EXPECT_TRUE(e->LoadDeviceType("X2"));
    EXPECT_EQ(
        messages.Texts(),
        (std::vector<std::string>{
            "Тип X2 в базе данных \"TestParts\", параметр A: \"1 000,1\" не является числом",
            "Тип X2 в базе данных \"TestParts\", параметр Zero: \"inf\" не является числом"}));
    EXPECT_EQ(e->ParamOf("A"), a);
    EXPECT_EQ(e->ParamOf("Zero"), zero);
    EXPECT_EQ(e->FindParam("Kind")->Unit, 1);
}

TEST(DatabaseLocation, UserCopyIsReadFirstAndWritesStartFromTheShippedFile) {
    TempDir home;
    ScopedEnv noOverride("QUENTOR_DB_DIR", "");
    unsetenv("QUENTOR_DB_DIR");
    ScopedEnv xdg("XDG_DATA_HOME", home.Path().string());
    const std::string shipped = ProgramDirectory() + "QuentorTestShipped.edb";
    {
        TIniFile ship(shipped);
        ship.Write("T1", "A", "1");
        ASSERT_TRUE(ship.Save());
    }
    EXPECT_EQ(DatabasePath("QuentorTestShipped"), shipped);
    const std::string user = DatabaseWritePath("QuentorTestShipped");
    EXPECT_EQ(user, home.Path().string() + "/quentor/QuentorTestShipped.edb");
    EXPECT_TRUE(TIniFile(user).HasSection("T1"));
    EXPECT_EQ(DatabasePath("QuentorTestShipped"), user);
    std::filesystem::remove(shipped);
}

TEST(DatabaseLocation, InstalledProgramsFindTheShippedFilesInTheDataDirectory) {
    // The build tree keeps them beside the programs, an installation in
    // share/quentor beside bin.
    TempDir prefix;
    namespace fs = std::filesystem;
    fs::create_directories(prefix.Path() / "bin");
    fs::create_directories(prefix.Path() / "share" / "quentor");
    const std::string bin = (prefix.Path() / "bin").string();
    const std::string installed = (prefix.Path() / "share" / "quentor" / "Diodes.edb").string();
    EXPECT_EQ(ShippedDatabasePath(bin, "Diodes.edb"), bin + "/Diodes.edb"); // neither: beside
    std::ofstream(installed) << "[D1]\r\n";
    EXPECT_EQ(fs::weakly_canonical(ShippedDatabasePath(bin, "Diodes.edb")), fs::path(installed));
    std::ofstream(bin + "/Diodes.edb") << "[D1]\r\n";
    EXPECT_EQ(ShippedDatabasePath(bin + "/", "Diodes.edb"), bin + "/Diodes.edb");
}

TEST(DatabaseLocation, AUserCopyThatCannotBeWrittenWholeIsNotStarted) {
    TempDir home;
    ScopedEnv noOverride("QUENTOR_DB_DIR", "");
    unsetenv("QUENTOR_DB_DIR");
    ScopedEnv xdg("XDG_DATA_HOME", home.Path().string());
    const std::string shipped = ProgramDirectory() + "QuentorTestBig.edb";
    {
        TIniFile ship(shipped);
        for (int i = 0; i < 400; ++i)
            ship.Write("T" + std::to_string(i), "A", "1");
        ASSERT_TRUE(ship.Save());
    }
    ASSERT_GT(std::filesystem::file_size(shipped), 4096u);
    const std::string user = home.Path().string() + "/quentor/QuentorTestBig.edb";
    const int status = RunWithFileSizeLimit(4096, [] {
        DatabaseWritePath("QuentorTestBig");
        return 0;
    });
    EXPECT_EQ(status, 0);
    // A fragment would hide the shipped devices from then on.
    EXPECT_FALSE(std::filesystem::exists(user));
    EXPECT_EQ(DatabasePath("QuentorTestBig"), shipped);
    std::filesystem::remove(shipped);
}

} // namespace
