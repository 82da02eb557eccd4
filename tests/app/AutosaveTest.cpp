#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "EditorFixture.h"
#include "app/Autosave.h"
#include "app/RecentFiles.h"
#include "app/SchematicFile.h"
#include "support/TempDir.h"
#include "support/TestElements.h"

namespace {

namespace fs = std::filesystem;

const std::string RestoreQuestion(const std::string& path) {
    return "Найдена автосохранённая копия схемы " + path +
           ", более новая, чем файл. Восстановить её?";
}

// A saved schematic of one element, opened in the editor.
struct SavedSchematic : EditorFixture {
    TempDir dir, state;
    std::string path = dir.File("a.dvn");
    SavedSchematic() {
        editor.AutosaveDir = (state.Path() / "autosave").string();
        Place("TTestTwoPin", 100, 100);
        editor.ForgetHistory();
        host.SaveNames.push_back(path);
        EXPECT_TRUE(editor.SaveAs());
    }
    // Makes a file look older than its side file, as minutes before.
    static void Age(const std::string& file) {
        fs::last_write_time(file, fs::last_write_time(file) - std::chrono::minutes(5));
    }
};

TEST(Autosave, AModifiedSchematicGoesToItsSideFileWhichSavingRemoves) {
    SavedSchematic f;
    const std::string side = f.path + ".autosave";
    EXPECT_FALSE(f.editor.Autosave()); // nothing changed since the save
    f.Place("TTestTwoPin", 300, 100);
    f.editor.Commit("Размещение");
    ASSERT_TRUE(f.sheet.Modified);
    ASSERT_TRUE(f.editor.Autosave());
    ASSERT_TRUE(fs::exists(side));
    EXPECT_FALSE(f.editor.Autosave()); // the same text is not written again
    // The side file is a schematic of its own with both elements, the file
    // still the saved one.
    Schematic copy;
    ASSERT_EQ(LoadSchematic(copy, side), TLoadResult::Loaded);
    EXPECT_EQ(copy.Elements.Count(), 2);
    Schematic saved;
    ASSERT_EQ(LoadSchematic(saved, f.path), TLoadResult::Loaded);
    EXPECT_EQ(saved.Elements.Count(), 1);
    f.editor.Save();
    EXPECT_FALSE(fs::exists(side));
    EXPECT_FALSE(f.editor.Autosave());
    EXPECT_TRUE(f.messages.Entries.empty());
}

TEST(Autosave, OpeningWithANewerSideFileOffersItAndYesRestoresAsAnUnsavedStep) {
    SavedSchematic f;
    f.Place("TTestTwoPin", 300, 100);
    f.editor.Commit("Размещение");
    ASSERT_TRUE(f.editor.Autosave());
    SavedSchematic::Age(f.path);

    EditorFixture g;
    g.editor.AutosaveDir = f.editor.AutosaveDir;
    g.messages.Answers = {TAnswer::Yes};
    ASSERT_TRUE(g.editor.OpenFile(f.path));
    ASSERT_EQ(g.messages.Entries.size(), 1u);
    EXPECT_EQ(g.messages.Entries[0].Kind, "question");
    EXPECT_EQ(g.messages.Entries[0].Text, RestoreQuestion(f.path));
    EXPECT_EQ(g.sheet.Elements.Count(), 2);
    EXPECT_TRUE(g.sheet.Modified);
    EXPECT_EQ(g.editor.FileName(), f.path);
    // Undo goes back to the file as saved, which is clean again.
    EXPECT_EQ(g.editor.UndoName(), "Восстановление");
    g.editor.Undo();
    EXPECT_EQ(g.sheet.Elements.Count(), 1);
    EXPECT_FALSE(g.sheet.Modified);
    g.editor.Redo();
    g.editor.Save();
    EXPECT_FALSE(fs::exists(f.path + ".autosave"));
    Schematic saved;
    ASSERT_EQ(LoadSchematic(saved, f.path), TLoadResult::Loaded);
    EXPECT_EQ(saved.Elements.Count(), 2);
}

TEST(Autosave, NoDiscardsTheSideFileAndAnOlderOneIsNotOffered) {
    SavedSchematic f;
    f.Place("TTestTwoPin", 300, 100);
    f.editor.Commit("Размещение");
    ASSERT_TRUE(f.editor.Autosave());
    const std::string side = f.path + ".autosave";
    {
        // The schematic saved after the side file was written: nothing to offer.
        SavedSchematic::Age(side);
        EditorFixture g;
        ASSERT_TRUE(g.editor.OpenFile(f.path));
        EXPECT_TRUE(g.messages.Entries.empty());
        EXPECT_EQ(g.sheet.Elements.Count(), 1);
    }
    SavedSchematic::Age(f.path);
    SavedSchematic::Age(f.path);
    {
        EditorFixture g;
        g.messages.Answers = {TAnswer::No};
        ASSERT_TRUE(g.editor.OpenFile(f.path));
        EXPECT_EQ(g.messages.Texts(), std::vector<std::string>{RestoreQuestion(f.path)});
        EXPECT_EQ(g.sheet.Elements.Count(), 1);
        EXPECT_FALSE(g.sheet.Modified);
        EXPECT_FALSE(fs::exists(side));
    }

    // Closing without saving discards the side file too.
    f.Place("TTestTwoPin", 300, 300);
    f.editor.Commit("Размещение");
    ASSERT_TRUE(f.editor.Autosave());
    f.messages.Answers = {TAnswer::No};
    EXPECT_TRUE(f.editor.CanClose());
    EXPECT_FALSE(fs::exists(side));
}

TEST(Autosave, WhereNoSideFileCanBeWrittenItGoesUnderTheStateDirectory) {
    SavedSchematic f;
    f.Place("TTestTwoPin", 300, 100);
    f.editor.Commit("Размещение");
    // A directory in the side file's place refuses it even to root, as a
    // read-only directory does to everyone else.
    fs::create_directory(f.path + ".autosave");
    ASSERT_TRUE(f.editor.Autosave());
    const std::string inState = AutosaveInStateDir(f.path, f.editor.AutosaveDir);
    EXPECT_TRUE(fs::is_regular_file(inState));
    EXPECT_EQ(fs::path(inState).parent_path(), fs::path(f.editor.AutosaveDir));
    // The whole path is in the name, so another a.dvn keeps apart.
    EXPECT_NE(inState, AutosaveInStateDir(f.state.File("a.dvn"), f.editor.AutosaveDir));
    // File times are coarse (a clock tick): the schematic saved well before.
    SavedSchematic::Age(f.path);
    EXPECT_EQ(NewerAutosave(f.path, f.editor.AutosaveDir), inState);
    f.editor.Save();
    EXPECT_FALSE(fs::exists(inState));
}

TEST(Autosave, TheStateDirectoryFollowsXdgStateHome) {
    {
        ScopedEnv state("XDG_STATE_HOME", "/var/tmp/state");
        EXPECT_EQ(AutosaveStateDir(), "/var/tmp/state/quentor/autosave");
    }
    ScopedEnv relative("XDG_STATE_HOME", "state"); // not absolute: ignored
    ScopedEnv home("HOME", "/home/u");
    EXPECT_EQ(AutosaveStateDir(), "/home/u/.local/state/quentor/autosave");
}

TEST(RecentFiles, TheNewestComesFirstOnceAndTenAreKept) {
    std::vector<std::string> list;
    for (int i = 0; i < 12; ++i) list = WithRecentFile(list, "/s/" + std::to_string(i) + ".dvn");
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list.front(), "/s/11.dvn");
    EXPECT_EQ(list.back(), "/s/2.dvn");
    list = WithRecentFile(list, "/s/5.dvn");
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list[0], "/s/5.dvn");
    EXPECT_EQ(list[1], "/s/11.dvn");
    EXPECT_EQ(std::count(list.begin(), list.end(), "/s/5.dvn"), 1);
    list = WithoutRecentFile(list, "/s/11.dvn");
    EXPECT_EQ(list.size(), 9u);
    EXPECT_EQ(list[1], "/s/10.dvn");
    EXPECT_EQ(WithRecentFile(list, ""), list);
}

} // namespace
