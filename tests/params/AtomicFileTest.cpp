#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "params/AtomicFile.h"
#include "params/Cp1251.h"
#include "params/IniFile.h"
#include "support/ExampleBuilder.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> ManyLines(int n, const std::string& text) {
    return std::vector<std::string>(std::size_t(n), text);
}

int FilesIn(const TempDir& dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.Path()))
        ++n;
    return n;
}

TEST(AtomicFile, AWriteThatRunsOutOfSpaceLeavesTheOldFileByteForByte) {
    TempDir dir;
    const std::string path = dir.File("old.txt");
    ASSERT_TRUE(WriteTextFile(path, ManyLines(50, "старая строка")));
    const std::string before = FileBytes(path);
    ASSERT_EQ(before.size(), 50u * 15u);

    // 64 KB of new text against a 4 KB limit: the write fails part way.
    const int status = RunWithFileSizeLimit(4096, [&] {
        std::string error;
        const bool ok = WriteTextFile(path, ManyLines(4000, "новая строка длиннее"), &error);
        if (ok) return 1;
        return error == "превышен допустимый размер файла" ? 0 : 2;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(FilesIn(dir), 1) << "the temporary file is removed";
}

TEST(AtomicFile, ADatabaseSaveThatFailsKeepsTheDatabase) {
    TempDir dir;
    const std::string path = dir.File("Diodes.edb");
    TIniFile db(path);
    db.Write("1N4007", "Upr", "1.1,2");
    ASSERT_TRUE(db.Save());
    const std::string before = FileBytes(path);
    const int status = RunWithFileSizeLimit(before.size() + 10, [&] {
        TIniFile big(path);
        big.Load();
        for (int i = 0; i < 200; ++i)
            big.Write("Тип " + std::to_string(i), "Upr", "0.7,2");
        return big.Save() ? 1 : 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(FilesIn(dir), 1);
}

TEST(AtomicFile, ReplacingKeepsPermissionsAndFollowsLinks) {
    TempDir dir;
    const std::string path = dir.File("a.txt");
    std::string error;
    ASSERT_TRUE(ReplaceFileAtomically(path, "one", error));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(ReplaceFileAtomically(path, "two", error));
    EXPECT_EQ(FileBytes(path), "two");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const std::string link = dir.File("link.txt");
    fs::create_symlink(path, link);
    ASSERT_TRUE(ReplaceFileAtomically(link, "three", error));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(FileBytes(path), "three");

    EXPECT_FALSE(ReplaceFileAtomically(dir.File("no/such.txt"), "x", error));
    EXPECT_EQ(error, "нет такого каталога");
    EXPECT_EQ(FilesIn(dir), 2);
}

} // namespace
