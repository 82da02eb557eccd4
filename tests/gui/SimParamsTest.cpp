#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "GuiTestSupport.h"
#include "Simulation/RunSettings.h"
#include "gui/SimParamsDialog.h"
#include "gui/StatusPanels.h"
#include "support/RecordingMessages.h"

class TestSimParams : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void showsTheSettingsInTheUsersLocale();
    void aTextThatIsNoNumberKeepsTheDialogOnThatEdit();
    void cancelChangesNothing();
    void theLargeModelDumpIsARunSettingNotSavedWithTheFile();

private:
    RecordingMessages messages_;
};

void TestSimParams::showsTheSettingsInTheUsersLocale() {
    TRunSettings m;
    m.GS = 0.25;
    TSimParams dialog(m);
    QCOMPARE(dialog.windowTitle(), QString("Параметры моделирования"));
    QCOMPARE(dialog.findChild<QLineEdit*>("TimeEdit")->text(), QString("1"));
    QCOMPARE(dialog.findChild<QLineEdit*>("GraphStepEdit")->text(), QString("0,25"));
    QCOMPARE(dialog.findChild<QLineEdit*>("hEdit")->text(), QString("1E-05"));
    QCOMPARE(dialog.findChild<QPushButton*>("AcceptButton")->text(), QString("&Принять"));
    QCOMPARE(dialog.findChild<QPushButton*>("CancelButton")->text(), QString("&Отменить"));
}

void TestSimParams::aTextThatIsNoNumberKeepsTheDialogOnThatEdit() {
    ScriptedWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TSimParams*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto* time = dialog->findChild<QLineEdit*>("TimeEdit");
        auto* step = dialog->findChild<QLineEdit*>("hEdit");
        auto* graph = dialog->findChild<QLineEdit*>("GraphStepEdit");
        time->setText("2,5");
        step->setText("abc");
        graph->setText("0,5");
        QTest::mouseClick(dialog->findChild<QPushButton*>("AcceptButton"), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->focusWidget(), step);
        // The duration, read before the step, already holds.
        QCOMPARE(w.Editor().Sheet().RunSettings.T, 2.5);
        QCOMPARE(w.Editor().Sheet().RunSettings.GS, 0.01);
        step->setText("0.002");  // "." is understood as well
        QTest::mouseClick(dialog->findChild<QPushButton*>("AcceptButton"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        checked = true;
    });
    w.Action("SimSetupAction")->trigger();
    QVERIFY(checked);
    const TRunSettings& m = w.Editor().Sheet().RunSettings;
    QCOMPARE(m.T, 2.5);
    QCOMPARE(m.h, 0.002);
    QCOMPARE(m.GS, 0.5);
    QCOMPARE(w.StatusPanels()->Text(1), QString("2.5"));
    QCOMPARE(w.StatusPanels()->Text(3), QString("0.002"));
    QCOMPARE(w.StatusPanels()->Text(7), QString("0.5"));
    // The settings travel with the file: there is something to save now.
    QVERIFY(w.Editor().Sheet().Modified);
    w.Editor().Sheet().Modified = false;
}

void TestSimParams::cancelChangesNothing() {
    TRunSettings m;
    TSimParams dialog(m);
    dialog.findChild<QLineEdit*>("TimeEdit")->setText("7");
    dialog.reject();
    QCOMPARE(m.T, 1.0);
    QVERIFY(!dialog.Changed());
}

int RunSimParamsTests(int argc, char** argv) {
    TestSimParams t;
    return QTest::qExec(&t, argc, argv);
}

#include "SimParamsTest.moc"

void TestSimParams::theLargeModelDumpIsARunSettingNotSavedWithTheFile() {
    TRunSettings m;
    TSimParams dialog(m);
    auto* box = dialog.findChild<QCheckBox*>("DumpLargeModelsBox");
    QVERIFY(box);
    QCOMPARE(box->text(), QString("Записывать debug.txt и для больших моделей"));
    QVERIFY(!box->isChecked());
    box->setChecked(true);
    dialog.accept();
    QVERIFY(m.DumpLargeModels);
    QVERIFY(!dialog.Changed());
}
