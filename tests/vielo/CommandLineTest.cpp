#include <gtest/gtest.h>

#include "vielo/CommandLine.h"

namespace {

std::string Parse(std::vector<std::string> args, VieloOptions& o) {
    o = VieloOptions();
    return ParseCommandLine(args, o);
}

TEST(CommandLine, NoArgumentsOpensGrafGrpInAWindow) {
    VieloOptions o;
    EXPECT_EQ(Parse({}, o), "");
    EXPECT_EQ(o.GrpPath, "graf.grp");
    EXPECT_FALSE(o.Headless());
    EXPECT_FALSE(o.Stacked);
}

TEST(CommandLine, FileExportSizeAndCsvInAnyOrder) {
    VieloOptions o;
    EXPECT_EQ(Parse({"--size", "640x480", "run.grp", "--export", "out.png"}, o), "");
    EXPECT_EQ(o.GrpPath, "run.grp");
    EXPECT_EQ(o.PicturePath, "out.png");
    EXPECT_EQ(o.Width, 640);
    EXPECT_EQ(o.Height, 480);
    EXPECT_TRUE(o.Headless());

    EXPECT_EQ(Parse({"--export=a.png", "--size=16X16384", "--stacked"}, o), "");
    EXPECT_EQ(o.PicturePath, "a.png");
    EXPECT_EQ(o.Width, 16);
    EXPECT_EQ(o.Height, 16384);
    EXPECT_TRUE(o.Stacked);

    EXPECT_EQ(Parse({"--csv", "t.csv"}, o), "");
    EXPECT_EQ(o.CsvPath, "t.csv");
    EXPECT_TRUE(o.Headless());
    EXPECT_EQ(o.Width, 1200);
    EXPECT_EQ(o.Height, 800);
}

TEST(CommandLine, HelpAndVersion) {
    VieloOptions o;
    EXPECT_EQ(Parse({"--help"}, o), "");
    EXPECT_TRUE(o.Help);
    EXPECT_EQ(Parse({"-h"}, o), "");
    EXPECT_TRUE(o.Help);
    EXPECT_EQ(Parse({"--version"}, o), "");
    EXPECT_TRUE(o.Version);
}

TEST(CommandLine, MistakesAreNamed) {
    VieloOptions o;
    EXPECT_EQ(Parse({"--bogus"}, o), "unknown option --bogus");
    EXPECT_EQ(Parse({"--exporter", "x.png"}, o), "unknown option --exporter");
    EXPECT_EQ(Parse({"--export"}, o), "--export needs a file name");
    EXPECT_EQ(Parse({"--csv="}, o), "--csv needs a file name");
    EXPECT_EQ(Parse({"--size", "800x600"}, o), "--size only applies with --export");
    const std::string badSize =
        "--size needs WIDTHxHEIGHT, each from 16 to 16384 pixels, e.g. 1200x800";
    for (const char* size :
         {"800", "800x", "x600", "15x600", "800x16385", "80a0x600", "-800x600", ""})
        EXPECT_EQ(Parse({"--export", "a.png", "--size", size}, o), badSize) << size;
}

} // namespace

TEST(CommandLine, SeveralFilesAreShownTogether) {
    VieloOptions o;
    EXPECT_EQ(Parse({"run-0001/graf.grp", "--stacked", "run-0002/graf.grp"}, o), "");
    EXPECT_EQ(o.GrpPath, "run-0001/graf.grp");
    EXPECT_EQ(o.GrpPaths, (std::vector<std::string>{"run-0001/graf.grp", "run-0002/graf.grp"}));
    VieloOptions none;
    EXPECT_EQ(Parse({}, none), "");
    EXPECT_EQ(none.GrpPaths, std::vector<std::string>{"graf.grp"});
}
