// The database panel of the parameter dialog.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "ParamsDialogFixture.h"
#include "params/Database.h"
#include "params/IniFile.h"

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(ParamsDialog, TypeListHoldsTheSectionsSortedAndSelectsTheElementsType) {
    WriteDb({{"кт315", "A", "1,2"}, {"Д9Б", "A", "2,2"}, {"АЛ307", "A", "3,2"}, {"b1", "A", "1"}});
    TTestPart* e = NewPart();
    e->DeviceType = "д9б";
    TElementParamsController c(*e, '.');
    ASSERT_TRUE(c.DataBasePanelVisible);
    EXPECT_EQ(c.TypeItems, (std::vector<std::string>{"b1", "АЛ307", "Д9Б", "кт315"}));
    // Pick-only, because the values are not the user's own.
    EXPECT_FALSE(c.TypeListEditable);
    EXPECT_EQ(c.TypeIndex, 2);
    EXPECT_EQ(c.TypeText, "Д9Б");
}

TEST_F(ParamsDialog, HandEnteredReferencesKeepTheTypedName) {
    WriteDb({{"Д9Б", "A", "2,2"}});
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    e->DeviceType = "мой";
    TElementParamsController c(*e, '.');
    EXPECT_TRUE(c.TypeListEditable);
    EXPECT_EQ(c.TypeText, "мой");
    EXPECT_EQ(c.TypeIndex, -1);
    ASSERT_TRUE(c.FormCloseQuery());
    EXPECT_TRUE(e->ManualRefs);
    EXPECT_EQ(e->DeviceType, "мой");
}

TEST_F(ParamsDialog, WithoutManualEntryOnlyExistingTypesCanBePicked) {
    WriteDb({{"Д9Б", "A", "2,2"}});
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    e->DeviceType = "д9б";
    TElementParamsController c(*e, '.');
    EXPECT_TRUE(c.AddEnabled);
    EXPECT_TRUE(c.RemoveEnabled);
    EXPECT_TRUE(Row(c.RefEditors, "A")->ValueEnabled);

    c.SetManualEntry(false);
    EXPECT_FALSE(c.TypeListEditable);
    EXPECT_FALSE(c.AddEnabled);
    EXPECT_FALSE(c.RemoveEnabled);
    EXPECT_EQ(c.TypeIndex, 0); // the item equal to the text
    EXPECT_EQ(c.TypeText, "Д9Б");
    for (const auto& r : c.RefEditors) {
        EXPECT_FALSE(r->ValueEnabled);
        EXPECT_FALSE(r->UnitEnabled);
    }
    c.TypeTextEdited("something else");
    EXPECT_EQ(c.TypeText, "Д9Б");

    c.TypeTextEdited("x");
    c.SetManualEntry(true);
    c.TypeTextEdited("нет такого");
    c.SetManualEntry(false);
    EXPECT_EQ(c.TypeIndex, -1);
    EXPECT_EQ(c.TypeText, "");
    ASSERT_TRUE(c.FormCloseQuery());
    EXPECT_FALSE(e->ManualRefs);
    EXPECT_EQ(e->DeviceType, "");
}

TEST_F(ParamsDialog, PickingATypeLoadsItsValuesAndRecalculates) {
    WriteDb({{"Д9Б", "A", "0.5,1"}, {"Д9Б", "Kind", "0,1"}, {"Д7", "A", "3,2"}});
    TTestPart* e = NewPart();
    TElementParamsController c(*e, ',');
    ASSERT_EQ(c.TypeItems, (std::vector<std::string>{"Д7", "Д9Б"}));
    c.TypePicked(1);
    EXPECT_EQ(e->DeviceType, "Д9Б");
    EXPECT_DOUBLE_EQ(e->ParamOf("A"), 0.5);
    EXPECT_EQ(e->FindParam("Kind")->Unit, 1);
    EXPECT_EQ(Row(c.RefEditors, "A")->Text, "500"); // in "мВ"
    EXPECT_EQ(Row(c.RefEditors, "A")->UnitSelection, 1);
    EXPECT_EQ(Row(c.RefEditors, "Kind")->UnitSelection, 1);
    EXPECT_DOUBLE_EQ(e->ParamOf("Twice"), 1);

    ASSERT_TRUE(c.FormCloseQuery());
    EXPECT_FALSE(e->ManualRefs);
    EXPECT_EQ(e->DeviceType, "Д9Б");
    EXPECT_DOUBLE_EQ(e->ParamOf("A"), 0.5);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(ParamsDialog, PickingATypeWithTypedModelValuesKeepsThem) {
    WriteDb({{"Д7", "A", "3,2"}});
    TTestPart* e = NewPart();
    e->AutoModel = false;
    e->FindParam("Twice")->Value = 11;
    TElementParamsController c(*e, '.');
    c.TypePicked(0);
    EXPECT_DOUBLE_EQ(e->ParamOf("A"), 3);
    EXPECT_DOUBLE_EQ(e->ParamOf("Twice"), 11);
}

TEST_F(ParamsDialog, AddingNeedsANameAndAsksBeforeReplacing) {
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    TElementParamsController c(*e, '.');
    c.AddButtonClick();
    EXPECT_FALSE(std::filesystem::exists(DbFile()));
    EXPECT_TRUE(messages.Entries.empty());

    Row(c.RefEditors, "A")->Text = "1.5";
    Row(c.RefEditors, "Kind")->UnitSelection = 1;
    c.TypeTextEdited("КД-1");
    c.AddButtonClick();
    EXPECT_TRUE(messages.Entries.empty());
    EXPECT_EQ(c.TypeItems, (std::vector<std::string>{"КД-1"}));
    EXPECT_EQ(c.TypeIndex, 0);
    TIniFile db(DbFile());
    EXPECT_EQ(db.Read("КД-1", "A", ""), "1.5,2");
    EXPECT_EQ(db.Read("КД-1", "Kind", ""), "0,1");
    EXPECT_FALSE(db.Read("КД-1", "Twice").has_value()); // model values stay out

    const std::string before = FileBytes(DbFile());
    Row(c.RefEditors, "A")->Text = "9";
    c.TypeTextEdited("кд-1");
    messages.Answers = {TAnswer::No};
    c.AddButtonClick();
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"В базе данных уже есть тип компонента кд-1. Изменить?"}));
    EXPECT_EQ(messages.Entries[0].Kind, "question");
    EXPECT_EQ(FileBytes(DbFile()), before);

    messages.Answers = {TAnswer::Yes};
    c.AddButtonClick();
    EXPECT_EQ(TIniFile(DbFile()).Read("КД-1", "A", ""), "9,2");
    EXPECT_EQ(c.TypeItems.size(), 1u);
}

TEST_F(ParamsDialog, AddingWithABadValueWritesNothing) {
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    TElementParamsController c(*e, '.');
    c.TypeTextEdited("КД-2");
    Row(c.RefEditors, "A")->Text = "1..5";
    c.AddButtonClick();
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Ошибка в параметре!\nПоле «Величина»: ожидается число вида 2.2 (В)"}));
    EXPECT_FALSE(std::filesystem::exists(DbFile()));
    EXPECT_TRUE(c.TypeItems.empty());
}

TEST_F(ParamsDialog, NewTypesJoinTheListInOrder) {
    WriteDb({{"A1", "A", "1"}, {"C3", "A", "3"}});
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    TElementParamsController c(*e, '.');
    c.TypeTextEdited("b2");
    c.AddButtonClick();
    EXPECT_EQ(c.TypeItems, (std::vector<std::string>{"A1", "b2", "C3"}));
    EXPECT_EQ(c.TypeIndex, 1);
    EXPECT_EQ(TIniFile(DbFile()).Sections(), (std::vector<std::string>{"A1", "C3", "b2"}));
}

TEST_F(ParamsDialog, RemovingDeletesTheSectionWithoutAskingOrNamesTheMissingType) {
    WriteDb({{"Д9Б", "A", "1"}, {"Д7", "A", "2"}});
    TTestPart* e = NewPart();
    e->ManualRefs = true;
    TElementParamsController c(*e, '.');
    c.TypeTextEdited("Д1");
    c.RemoveButtonClick();
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Kind, "error");
    EXPECT_EQ(messages.Entries[0].Text, "В базе данных тип компонента Д1 отсутствует!");
    EXPECT_EQ(TIniFile(DbFile()).Sections().size(), 2u);

    messages.Clear();
    c.TypeTextEdited("д9б");
    c.RemoveButtonClick();
    EXPECT_TRUE(messages.Entries.empty());
    EXPECT_EQ(c.TypeItems, (std::vector<std::string>{"Д7"}));
    EXPECT_EQ(TIniFile(DbFile()).Sections(), (std::vector<std::string>{"Д7"}));
}

// The program's directory is read-only once installed; the shipped file is
// only read, and "&Добавить" writes the user's copy.
TEST(ParamsDialogShippedDatabase, AddingWritesTheUsersCopyAndLeavesTheShippedFile) {
    RecordingMessages messages;
    TempDir home;
    ScopedEnv noOverride("QUENTOR_DB_DIR", "");
    unsetenv("QUENTOR_DB_DIR");
    ScopedEnv xdg("XDG_DATA_HOME", home.Path().string());
    const std::string shipped = ProgramDirectory() + "TestParts.edb";
    {
        TIniFile ship(shipped);
        ship.Write("Д9Б", "A", "0.5,1");
        ASSERT_TRUE(ship.Save());
    }
    ASSERT_EQ(chmod(shipped.c_str(), 0444), 0);
    const std::string shippedBytes = FileBytes(shipped);

    Schematic sheet;
    auto* e = static_cast<TTestPart*>(CreateElementByName(sheet, "TTestPart"));
    e->ManualRefs = true;
    {
        TElementParamsController c(*e, '.');
        EXPECT_EQ(c.TypeItems, (std::vector<std::string>{"Д9Б"}));
        Row(c.RefEditors, "A")->Text = "4";
        c.TypeTextEdited("КД-5");
        c.AddButtonClick();
        EXPECT_EQ(c.TypeItems, (std::vector<std::string>{"Д9Б", "КД-5"}));
    }
    EXPECT_TRUE(messages.Entries.empty());
    EXPECT_EQ(FileBytes(shipped), shippedBytes);
    const std::string user = home.Path().string() + "/quentor/TestParts.edb";
    EXPECT_EQ(TIniFile(user).Sections(), (std::vector<std::string>{"Д9Б", "КД-5"}));
    // The next dialog reads the user's copy.
    TElementParamsController again(*e, '.');
    EXPECT_EQ(again.TypeItems, (std::vector<std::string>{"Д9Б", "КД-5"}));
    std::filesystem::remove(shipped);
}

} // namespace
