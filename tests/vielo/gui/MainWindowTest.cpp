#include <gtest/gtest.h>

#include <QAbstractSeries>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QTest>
#include <sstream>

#include "GuiHelpers.h"
#include "support/TempDir.h"
#include "vielo/CsvExport.h"
#include "vielo/InputPanel.h"
#include "vielo/MainWindow.h"
#include "vielo/PlotArea.h"
#include "vielo/PlotView.h"
#include "vielo/SampleSeries.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.SetErrorSink([this](const QString& text) { errors << text; });
        ShowOffscreen(window, QSize(1000, 700));
    }
    QString File(const char* name) { return QString::fromStdString(dir.File(name)); }
    QAction* ActionNamed(const QString& text) {
        for (QAction* a : window.findChildren<QAction*>())
            if (a->text().remove('&') == text) return a;
        return nullptr;
    }

    TempDir dir;
    MainWindow window;
    QStringList errors;
};

TEST_F(MainWindowTest, MissingFileIsReportedAndNothingIsShown) {
    EXPECT_FALSE(window.Open(File("graf.grp")));
    EXPECT_EQ(errors, QStringList{"Файл graf.grp не найден"});
    EXPECT_EQ(window.windowTitle(), "vielo — graf.grp");
    EXPECT_EQ(window.Plots()->Data(), nullptr);
    EXPECT_FALSE(ActionNamed("Сохранить рисунок…")->isEnabled());
    EXPECT_FALSE(ActionNamed("Экспорт в CSV…")->isEnabled());
    EXPECT_TRUE(ActionNamed("Обновить")->isEnabled());
}

TEST_F(MainWindowTest, MoreInputsThanCanBeShownAreRefusedQuickly) {
    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(SineRun(100000, 2)));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(window.Open(File("graf.grp")));
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(
        errors,
        QStringList{"В файле graf.grp 100000 входов, а показать можно не больше 200. Все входы "
                    "можно вывести в таблицу: vielo --csv ФАЙЛ.csv"});
    EXPECT_EQ(window.Plots()->Data(), nullptr);
}

TEST_F(MainWindowTest, AsManyInputsAsCanBeShownOpenInLinearTime) {
    // Building the curves, legend and list once costs time in proportion to
    // the inputs: the full count may take at most a few times ten times the
    // cost of a tenth of them (a quadratic build would take a hundred times).
    auto openTime = [this](int inputs) {
        WriteFileBytes(dir.File("graf.grp"), EncodeGrp(SineRun(inputs, 50)));
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(window.Open(File("graf.grp")));
        QCoreApplication::processEvents();
        return double(clock.nsecsElapsed());
    };
    openTime(MaxShownInputs / 10); // warms up the fonts and the chart
    const double small = openTime(MaxShownInputs / 10);
    const double full = openTime(MaxShownInputs);
    EXPECT_LT(full, 40 * small) << "a tenth: " << small / 1e6 << " ms, all: " << full / 1e6
                                << " ms";
    EXPECT_EQ(window.Plots()->Data()->InputCount(), MaxShownInputs);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(MainWindowTest, DamagedFileIsReported) {
    std::vector<unsigned char> bytes;
    PutInt32(bytes, -7);
    PutInt32(bytes, 10);
    PutFloat(bytes, 0.1f);
    WriteFileBytes(dir.File("bad.grp"), bytes);
    EXPECT_FALSE(window.Open(File("bad.grp")));
    EXPECT_EQ(errors, QStringList{"Файл bad.grp повреждён: недопустимое число входов (-7)"});
}

TEST_F(MainWindowTest, FileWithNothingToPlotOpensWithAWarning) {
    std::vector<unsigned char> bytes;
    PutInt32(bytes, 2);
    PutInt32(bytes, 100);
    PutFloat(bytes, 0.01f);
    WriteFileBytes(dir.File("graf.grp"), bytes);
    EXPECT_TRUE(window.Open(File("graf.grp")));
    EXPECT_EQ(errors, QStringList{"В файле graf.grp нет ни одного отсчёта"});
    EXPECT_EQ(window.Inputs()->topLevelItemCount(), 2);
}

TEST_F(MainWindowTest, GoodFileFillsThePlotsTheListAndTheMenus) {
    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(ControlRun()));
    ASSERT_TRUE(window.Open(File("graf.grp")));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(window.Inputs()->topLevelItemCount(), 3);
    EXPECT_EQ(window.Inputs()->topLevelItem(1)->text(0), "Вход 2");
    ASSERT_NE(ActionNamed("Вход 3"), nullptr);
    EXPECT_TRUE(ActionNamed("Сохранить рисунок…")->isEnabled());

    // The list, the menu and the plots agree whichever is used.
    window.Inputs()->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(window.Plots()->CurveVisible(1));
    EXPECT_FALSE(ActionNamed("Вход 2")->isChecked());
    ActionNamed("Вход 2")->trigger();
    EXPECT_TRUE(window.Plots()->CurveVisible(1));
    EXPECT_TRUE(window.Inputs()->Checked(1));
    window.Plots()->SetCurveVisible(0, false);
    EXPECT_FALSE(window.Inputs()->Checked(0));
    ActionNamed("Показать все")->trigger();
    EXPECT_TRUE(window.Plots()->CurveVisible(0));
}

TEST_F(MainWindowTest, TheRunsNamesGoIntoTheLegendTheListAndTheMenu) {
    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(ControlRun()));
    const std::string names = "1\tA1\n2\tM1: скорость, рад/с\n3\tR&D\n";
    WriteFileBytes(dir.File("graf.names"), std::vector<unsigned char>(names.begin(), names.end()));
    ASSERT_TRUE(window.Open(File("graf.grp")));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(window.Inputs()->topLevelItem(1)->text(0), "M1: скорость, рад/с");
    ASSERT_EQ(window.Plots()->Views().size(), 1u);
    const auto series = window.Plots()->Views()[0]->chart()->series();
    ASSERT_EQ(series.size(), 3);
    EXPECT_EQ(series.at(0)->name(), "A1");
    EXPECT_EQ(series.at(1)->name(), "M1: скорость, рад/с");
    EXPECT_EQ(series.at(2)->name(), "R&D");
    ASSERT_NE(ActionNamed("M1: скорость, рад/с"), nullptr);
    // The "&" escaped, not taken as a mnemonic.
    ASSERT_NE(ActionNamed("RD"), nullptr);
    EXPECT_EQ(ActionNamed("RD")->text(), "R&&D");

    // A damaged side file: the numbered names.
    WriteFileBytes(dir.File("graf.names"), {'1', '\t', 'A', '\n'});
    ActionNamed("Обновить")->trigger();
    EXPECT_EQ(window.Inputs()->topLevelItem(1)->text(0), "Вход 2");
    EXPECT_EQ(window.Plots()->Views()[0]->chart()->series().at(1)->name(), "Вход 2");
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(MainWindowTest, ReloadPicksUpANewRun) {
    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(ControlRun()));
    ASSERT_TRUE(window.Open(File("graf.grp")));
    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(SineRun(5, 30)));
    ActionNamed("Обновить")->trigger();
    EXPECT_EQ(window.Inputs()->topLevelItemCount(), 5);
    EXPECT_EQ(window.Plots()->Data()->SampleCount(), 30u);
    EXPECT_NE(ActionNamed("Вход 5"), nullptr);
    EXPECT_EQ(ActionNamed("Вход 3")->shortcut(), QKeySequence(Qt::Key_3));
}

TEST_F(MainWindowTest, CrossHairValuesAppearInTheList) {
    const GrpData run = ControlRun();
    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(run));
    ASSERT_TRUE(window.Open(File("graf.grp")));
    QApplication::processEvents();
    PlotView* view = window.Plots()->Views().front();
    const QRectF plot = view->PlotRect();
    const QPoint pos(static_cast<int>(plot.left() + 0.37 * plot.width()),
                     static_cast<int>(plot.center().y()));
    HoverMouse(view->viewport(), pos);
    const double t =
        view->TimeRange().Min + (pos.x() - plot.left()) / plot.width() * view->TimeRange().Span();
    const double expected = ValueAt(run.Times, run.Values[1], t);
    EXPECT_NEAR(window.Inputs()->topLevelItem(1)->text(1).toDouble(), expected,
                1e-4 * std::abs(expected) + 1e-6);
}

TEST_F(MainWindowTest, PictureAndTableExports) {
    const GrpData run = ControlRun();
    WriteFileBytes(dir.File("graf.grp"), EncodeGrp(run));
    ASSERT_TRUE(window.Open(File("graf.grp")));

    ASSERT_TRUE(window.SavePicture(File("plot.png")));
    QImageReader reader(File("plot.png"));
    EXPECT_EQ(reader.format(), "png");
    EXPECT_EQ(reader.size(), window.Plots()->size());

    ASSERT_TRUE(window.ExportCsv(File("graf.csv")));
    QFile csv(File("graf.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    std::ostringstream expected;
    WriteCsv(run, expected);
    EXPECT_EQ(csv.readAll().toStdString(), expected.str());

    EXPECT_FALSE(window.SavePicture(File("missing/dir/plot.png")));
    EXPECT_EQ(errors, QStringList{"Не удаётся записать файл plot.png"});
}

} // namespace
