#include <filesystem>

#include <QAction>
#include <QMenuBar>
#include <QTest>

#include "GuiTestSupport.h"
#include "Simulation/SimModel.h"
#include "app/SchematicInfo.h"
#include "gui/StatusPanels.h"
#include "model/TConnector.h"
#include "model/TInfoConnector.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

namespace {

// The RC example drawn with the mouse: a source, a resistor, a capacitor
// turned upright, a voltage sensor across the capacitor, a ground on the
// bottom rail and a plotter on the sensor's output.
struct RcSchematic {
    TBaseElement* source = nullptr;
    TBaseElement* resistor = nullptr;
    TBaseElement* capacitor = nullptr;
    TBaseElement* sensor = nullptr;
    TBaseElement* ground = nullptr;
    TBaseElement* plotter = nullptr;
};

TPoint Pin(TBaseElement* e, int i) { return e->FConnectors[std::size_t(i)]->GetLink(); }

bool Build(ScriptedWindow& w, RcSchematic& rc) {
    rc.source = PlaceFromPalette(w, "TVoltageSource", {100, 230});
    rc.resistor = PlaceFromPalette(w, "TResistor", {130, 140});
    rc.capacitor = PlaceFromPalette(w, "TCapacitor", {160, 210});
    rc.sensor = PlaceFromPalette(w, "TVoltageSummator", {240, 180});
    rc.ground = PlaceFromPalette(w, "TGround", {280, 270});
    rc.plotter = PlaceFromPalette(w, "TPlotter", {330, 180});
    if (!rc.source || !rc.resistor || !rc.capacitor || !rc.sensor || !rc.ground || !rc.plotter) return false;
    // The capacitor was put down selected: Ctrl+R turns it upright.
    Click(w, {rc.capacitor->Left + rc.capacitor->Width / 2, rc.capacitor->Top + rc.capacitor->Height / 2});
    QTest::keyClick(&w, Qt::Key_R, Qt::ControlModifier);

    // Straight wires: line the pins up first.
    MoveElementTo(w, rc.source, 80, 200);  // plus (96, 204), minus (96, 250)
    MoveElementTo(w, rc.resistor, rc.resistor->Left + 96 - Pin(rc.resistor, 0).x,
                  rc.resistor->Top + 140 - Pin(rc.resistor, 0).y);
    const TPoint top = Pin(rc.capacitor, 0).y < Pin(rc.capacitor, 1).y ? Pin(rc.capacitor, 0) : Pin(rc.capacitor, 1);
    MoveElementTo(w, rc.capacitor, rc.capacitor->Left + Pin(rc.resistor, 1).x - top.x, rc.capacitor->Top + 192 - top.y);
    MoveElementTo(w, rc.sensor, 208, 154);  // plus (220, 160), minus (220, 200)
    MoveElementTo(w, rc.ground, rc.ground->Left + 260 - Pin(rc.ground, 0).x, rc.ground->Top + 250 - Pin(rc.ground, 0).y);
    const TPoint sensorOut = rc.sensor->FOutputs[0]->Centre();
    const TPoint plotterIn = rc.plotter->FInputs[0]->Centre();
    MoveElementTo(w, rc.plotter, rc.plotter->Left + sensorOut.x + 80 - plotterIn.x,
                  rc.plotter->Top + sensorOut.y - plotterIn.y);

    const int cx = Pin(rc.resistor, 1).x;
    const TPoint capTop = Pin(rc.capacitor, 0).y < Pin(rc.capacitor, 1).y ? Pin(rc.capacitor, 0) : Pin(rc.capacitor, 1);
    const TPoint capBottom = Pin(rc.capacitor, 0).y < Pin(rc.capacitor, 1).y ? Pin(rc.capacitor, 1) : Pin(rc.capacitor, 0);
    Drag(w, Pin(rc.source, 1), Pin(rc.ground, 0));         // the bottom rail
    Drag(w, capBottom, {cx, 250});                          // onto the rail
    Drag(w, Pin(rc.sensor, 1), {220, 250});                 // onto the rail
    Drag(w, Pin(rc.source, 0), Pin(rc.resistor, 0));        // straight up
    Drag(w, Pin(rc.resistor, 1), capTop);                   // straight down
    Drag(w, Pin(rc.sensor, 0), {cx, 160});                  // onto that wire
    Drag(w, rc.sensor->FOutputs[0]->Centre(), rc.plotter->FInputs[0]->Centre());
    return true;
}

} // namespace

class TestBuildAndRun : public QObject {
    Q_OBJECT
private slots:
    void drawnSchematicIsWiredRunsAndSurvivesTheFile();
    void pauseStartAndStop();
    void editingIsOffWhileARunExists();

private:
    RecordingMessages messages_;
};

void TestBuildAndRun::drawnSchematicIsWiredRunsAndSurvivesTheFile() {
    TempDir dir;
    ScriptedWindow w;
    w.Editor().RunOptions.OutputDir = dir.Path().string();
    w.Editor().RunOptions.StartViewer = false;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    RcSchematic rc;
    QVERIFY(Build(w, rc));
    QCOMPARE(w.Editor().Sheet().Elements.Count(), 6);
    QCOMPARE(rc.capacitor->FAngle, 90);

    // Three nodes: source plus with the resistor; resistor, capacitor and
    // sensor plus; the rail with the ground.
    const auto node = [](TBaseElement* e, int i) { return e->FConnectors[std::size_t(i)]->GetNodeID(); };
    for (TBaseElement* e : {rc.source, rc.resistor, rc.capacitor, rc.sensor, rc.ground})
        for (std::size_t i = 0; i < e->FConnectors.size(); ++i)
            QVERIFY2(e->FConnectors[i]->IsConnected(), qPrintable(QString::fromStdString(e->ClassName())));
    QCOMPARE(node(rc.source, 0), node(rc.resistor, 0));
    const int capTop = rc.capacitor->FConnectors[0]->GetYLink() < rc.capacitor->FConnectors[1]->GetYLink() ? 0 : 1;
    QCOMPARE(node(rc.resistor, 1), node(rc.capacitor, capTop));
    QCOMPARE(node(rc.sensor, 0), node(rc.resistor, 1));
    QCOMPARE(node(rc.source, 1), node(rc.ground, 0));
    QCOMPARE(node(rc.capacitor, 1 - capTop), node(rc.ground, 0));
    QCOMPARE(node(rc.sensor, 1), node(rc.ground, 0));
    QVERIFY(node(rc.source, 0) != node(rc.resistor, 1));
    QVERIFY(node(rc.resistor, 1) != node(rc.ground, 0));
    QCOMPARE(w.Editor().Sheet().Nodes.Count(), 3);
    QCOMPARE(rc.plotter->FInputs[0]->GetSource(), rc.sensor->FOutputs[0]);

    // A short run to its end.
    TRunSettings& m = w.Editor().Sheet().RunSettings;
    m.T = 0.002;
    m.h = 1e-4;
    m.GS = 1e-3;
    w.Action("StartAction")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!w.Editor().RunExists(), 20000);
    QVERIFY(w.Action("StartAction")->isEnabled());
    QVERIFY(!w.Action("StopAction")->isEnabled());
    QCOMPARE(w.StatusPanels()->Text(5), QString("0.002"));
    QCOMPARE(messages_.Texts(), std::vector<std::string>{});
    QVERIFY(std::filesystem::exists(dir.File("graf.grp")));

    const std::string drawn = DescribeSchematicJson(w.Editor().Sheet());
    w.SaveNames = {dir.File("rc.dvn")};
    w.Action("SaveAsAction")->trigger();
    QVERIFY(w.Action("SaveAction")->isEnabled());
    QVERIFY(!w.Editor().Sheet().Modified);

    ScriptedWindow again;
    again.OpenNames = {dir.File("rc.dvn")};
    again.Action("OpenAction")->trigger();
    QCOMPARE(DescribeSchematicJson(again.Editor().Sheet()), drawn);
    QCOMPARE(again.Editor().Sheet().Nodes.Count(), 3);
    QCOMPARE(again.StatusPanels()->Text(1), QString("0.002"));
}

void TestBuildAndRun::pauseStartAndStop() {
    TempDir dir;
    ScriptedWindow w;
    w.Editor().RunOptions.OutputDir = dir.Path().string();
    w.Editor().RunOptions.StartViewer = false;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PlaceFromPalette(w, "TConst", {100, 100});
    PlaceFromPalette(w, "TDisplay", {300, 100});
    TRunSettings& m = w.Editor().Sheet().RunSettings;
    m.T = 1e6;
    m.h = 1e-3;
    m.GS = 1e8;

    w.Action("StartAction")->trigger();
    QVERIFY(!w.Action("StartAction")->isEnabled());
    QVERIFY(w.Action("PauseAction")->isEnabled());
    QVERIFY(w.Action("StopAction")->isEnabled());
    QVERIFY(!w.Action("SimSetupAction")->isEnabled());
    // The status timer shows the model time going on.
    QTRY_VERIFY_WITH_TIMEOUT(w.StatusPanels()->Text(5).toDouble() > 0, 5000);

    QTest::keyClick(&w, Qt::Key_F10);
    QVERIFY(w.Action("StartAction")->isEnabled());
    QVERIFY(!w.Action("PauseAction")->isEnabled());
    QVERIFY(w.Action("StopAction")->isEnabled());
    QTest::qWait(100);
    const QString paused = w.StatusPanels()->Text(5);
    QTest::qWait(700);
    QCOMPARE(w.StatusPanels()->Text(5), paused);

    QTest::keyClick(&w, Qt::Key_F9);
    QVERIFY(w.Action("PauseAction")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(w.StatusPanels()->Text(5).toDouble() > paused.toDouble(), 5000);

    QTest::keyClick(&w, Qt::Key_F2, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(!w.Editor().RunExists(), 20000);
    QVERIFY(w.Action("StartAction")->isEnabled());
    QVERIFY(!w.Action("PauseAction")->isEnabled());
    QVERIFY(!w.Action("StopAction")->isEnabled());
    QVERIFY(w.Action("SimSetupAction")->isEnabled());

    // Stop also ends a paused run.
    w.Action("StartAction")->trigger();
    w.Action("PauseAction")->trigger();
    w.Action("StopAction")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!w.Editor().RunExists(), 20000);
    QVERIFY(std::filesystem::exists(dir.File("graf.dat")));
    w.Editor().Sheet().Modified = false;
}

void TestBuildAndRun::editingIsOffWhileARunExists() {
    TempDir dir;
    ScriptedWindow w;
    w.Editor().RunOptions.OutputDir = dir.Path().string();
    w.Editor().RunOptions.StartViewer = false;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    TBaseElement* c = PlaceFromPalette(w, "TConst", {100, 100});
    QVERIFY(c && c->FSelected);
    TRunSettings& m = w.Editor().Sheet().RunSettings;
    m.T = 1e6;
    m.h = 1e-3;
    m.GS = 1e8;
    w.Action("StartAction")->trigger();
    for (const char* name : {"NewAction", "OpenAction", "DeleteAction", "AddInputAction", "DeleteInputAction",
                             "RotateAction", "MirrorLRAction", "MirrorTBAction", "SimSetupAction"})
        QVERIFY2(!w.Action(name)->isEnabled(), name);
    for (QAction* menu : w.menuBar()->actions())
        if (menu->text() == "&Блоки" || menu->text() == "&Элементы" || menu->text() == "&Посредники")
            QVERIFY(!menu->isEnabled());
    const int left = c->Left;
    Drag(w, {c->Left + c->Width / 2, c->Top + c->Height / 2}, {400, 400});
    QCOMPARE(c->Left, left);
    QTest::keyClick(&w, Qt::Key_Delete);
    QCOMPARE(w.Editor().Sheet().Elements.Count(), 1);
    w.Action("StopAction")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!w.Editor().RunExists(), 20000);
    QVERIFY(w.Action("DeleteAction")->isEnabled());
    QVERIFY(w.Action("RotateAction")->isEnabled());
    w.Editor().Sheet().Modified = false;
}

int RunBuildAndRunTests(int argc, char** argv) {
    TestBuildAndRun t;
    return QTest::qExec(&t, argc, argv);
}

#include "BuildAndRunTest.moc"
