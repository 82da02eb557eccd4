#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <filesystem>
#include <string>
#include <vector>

#include "GuiHelpers.h"
#include "support/TempDir.h"
#include "vielo/PlotStyle.h"

namespace {

struct Outcome {
    int Status;
    QString Out;
    QString Err;
};

// Runs the built program in dir with no display of any kind, as on a
// build server.
Outcome RunVielo(const TempDir& dir, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(QString::fromStdString(dir.Path().string()));
    p.start(VIELO_PROGRAM, args);
    if (!p.waitForFinished(60000)) return {-1, {}, "did not finish"};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(VieloProgram, ExportsGrafGrpFromTheCurrentDirectoryWithoutAScreen) {
    TempDir dir;
    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(ControlRun()));
    const Outcome r = RunVielo(dir, {"--export", "plot.png"});
    ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Err, "");
    const QImage image(QString::fromStdString(dir.File("plot.png")));
    EXPECT_EQ(image.size(), QSize(1200, 800));
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(PixelsOfColour(image, CurveColor(i)), 300) << i;
}

TEST(VieloProgram, ExportsAnotherFileAtTheRequestedSize) {
    TempDir dir;
    WriteFileBytes(dir.File("run.grp"), EncodeGrp(SineRun(2, 300)));
    const Outcome r =
        RunVielo(dir, {"run.grp", "--export", "small.png", "--size", "640x360", "--stacked"});
    ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
    EXPECT_EQ(QImage(QString::fromStdString(dir.File("small.png"))).size(), QSize(640, 360));
}

TEST(VieloProgram, FailuresExitNonZeroWithTheReason) {
    TempDir dir;
    Outcome r = RunVielo(dir, {"--export", "plot.png"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "error: Файл graf.grp не найден\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.File("plot.png"))));

    WriteFileBytes(dir.File("graf.grp"),
                   {'G', 'A', 'R', 'B', 'A', 'G', 'E', '!', '!', '!', '!', '!', 0});
    r = RunVielo(dir, {"--export", "plot.png"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(r.Err.startsWith("error: Файл graf.grp повреждён: недопустимое число входов"))
        << r.Err.toStdString();

    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(SineRun(1, 10)));
    r = RunVielo(dir, {"--export", "no/such/dir/plot.png"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "error: Не удаётся записать файл plot.png\n");

    r = RunVielo(dir, {"--export", "plot.png", "--size", "10x10"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_TRUE(r.Err.startsWith("vielo: --size needs WIDTHxHEIGHT")) << r.Err.toStdString();
}

TEST(VieloProgram, MoreInputsThanCanBeShownAreRefusedButGoToATable) {
    TempDir dir;
    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(SineRun(1000, 3)));
    Outcome r = RunVielo(dir, {"--export", "plot.png"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "error: В файле graf.grp 1000 входов, а показать можно не больше 200. Все "
                     "входы можно вывести "
                     "в таблицу: vielo --csv ФАЙЛ.csv\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.File("plot.png"))));
    r = RunVielo(dir, {"--csv", "all.csv"});
    EXPECT_EQ(r.Status, 0) << r.Err.toStdString();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.File("all.csv"))));
}

TEST(VieloProgram, CsvHelpAndVersion) {
    TempDir dir;
    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(SineRun(1, 3)));
    Outcome r = RunVielo(dir, {"--csv", "graf.csv"});
    ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
    QFile csv(QString::fromStdString(dir.File("graf.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), QByteArray("Время,Вход 1\n0,0\n0.01,0.06279052\n0.02,0.12533323\n"));
    csv.close();
    const std::string names = "1\tPA1: ток, А\n";
    WriteFileBytes(dir.File("graf.names"), std::vector<unsigned char>(names.begin(), names.end()));
    r = RunVielo(dir, {"--csv", "graf.csv"});
    ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(csv.readLine()), "Время,\"PA1: ток, А\"\n");
    csv.close();
    std::filesystem::remove(dir.File("graf.names"));

    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(SineRun(0, 3)));
    r = RunVielo(dir, {"--export", "times.png"});
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Err, "warning: В файле graf.grp нет ни одного входа\n");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.File("times.png"))));

    r = RunVielo(dir, {"--help"});
    EXPECT_EQ(r.Status, 0);
    EXPECT_TRUE(r.Out.startsWith("Usage: vielo [OPTIONS] [FILE.grp...]"));
    r = RunVielo(dir, {"--version"});
    EXPECT_EQ(r.Status, 0);
    EXPECT_TRUE(r.Out.startsWith("vielo ")) << r.Out.toStdString();
}

} // namespace
