#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <thread>

#include "EditorFixture.h"
#include "Simulation/SimModel.h"
#include "model/TElectricLine.h"
#include "model/ClassRegistry.h"
#include "model/FormDescription.h"
#include "model/TConnector.h"
#include "model/TInfoConnector.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"
#include "support/TestElements.h"

// A producer of 1.0 that counts how often a run resets it.
class TEditorRunSource : public TProducer {
public:
    explicit TEditorRunSource(Schematic& sheet) : TProducer(sheet) {}
    TValue GetOutput() override { return 1.0; }
    void ResetState() override { ++Resets; }
    int Resets = 0;
};

REGISTER_ELEMENT(TEditorRunSource, TProducer);

namespace {

using namespace std::chrono_literals;

const bool sourceForm = [] {
    RegisterForm({"TEditorRunSource", {O("Output", 38, 6)}, {}, 0, 0});
    return true;
}();

// Source (1.0) -> plotter, and source -> block (2 * input) -> display.
struct RunFixture : EditorFixture {
    TempDir dir;
    TEditorRunSource* source = static_cast<TEditorRunSource*>(Place("TEditorRunSource", 100, 100));
    TBaseElement* plotter = Place("TPlotter", 300, 40);
    TBaseElement* block = Place("TTestBlock", 300, 160);
    TBaseElement* display = Place("TDisplay", 500, 160);

    RunFixture() {
        Drag(source->FOutputs[0]->Centre(), plotter->FInputs[0]->Centre());
        Drag(source->FOutputs[0]->Centre(), block->FInputs[0]->Centre());
        Drag(block->FOutputs[0]->Centre(), display->FInputs[0]->Centre());
        editor.RunOptions.OutputDir = dir.Path().string();
        editor.RunOptions.StartViewer = false;
        TRunSettings& m = sheet.RunSettings;
        m.T = 0.01;
        m.h = 1e-4;
        m.GS = 1e-3;
    }
    // A run that goes on until stopped, with room for a few samples only.
    void Endless() {
        TRunSettings& m = sheet.RunSettings;
        m.T = 1e6;
        m.h = 1e-3;
        m.GS = 1e8;
    }
    double ModelTime() { return sheet.Run().PublishedTime.load(); }
    bool WaitForTime(double above) {
        for (int i = 0; i < 2000 && ModelTime() <= above; ++i) std::this_thread::sleep_for(5ms);
        return ModelTime() > above;
    }
};

TEST(EditorRun, AMeaninglessCircuitIsWarnedAboutBeforeItRuns) {
    RunFixture f;
    // A resistor with a wire to nowhere beside the blocks.
    TBaseElement* r = f.Place("TResistor", 100, 400);
    f.Drag(r->FConnectors[0]->GetLink(), {r->FConnectors[0]->GetXLink() - 60, r->FConnectors[0]->GetYLink()});
    ASSERT_TRUE(r->FConnectors[0]->IsConnected());
    f.editor.Start();
    EXPECT_EQ(f.messages.Texts(),
              (std::vector<std::string>{
                  "В электрической цепи нет заземления: ни один её узел не соединён с корпусом, "
                  "потенциалы узлов отсчитываются от одного из них.",
                  "Узел с единственным подключением: к проводу от вывода Connector1 элемента R1 "
                  "больше ничего не подключено.",
                  "В электрической цепи нет ни одного источника энергии: токи и напряжения в ней "
                  "останутся нулевыми."}));
    EXPECT_EQ(f.messages.Entries[0].Kind, "warning");
    ASSERT_TRUE(f.host.RunPosted());
    EXPECT_TRUE(std::filesystem::exists(f.dir.File("graf.grp")));
    EXPECT_EQ(f.messages.Entries.size(), 3u);
}

TEST(EditorRun, ARunToTheEndRestoresTheCommandsAndKeepsTheDisplayValue) {
    RunFixture f;
    EXPECT_TRUE(f.editor.StartEnabled());
    EXPECT_FALSE(f.editor.PauseEnabled());
    EXPECT_FALSE(f.editor.StopEnabled());
    f.editor.Start();
    ASSERT_TRUE(f.editor.RunExists());
    EXPECT_FALSE(f.editor.StartEnabled());
    EXPECT_FALSE(f.editor.SettingsEnabled());
    EXPECT_FALSE(f.editor.CanEdit());
    EXPECT_EQ(f.editor.StatusPanels()[1], "0.01");
    EXPECT_EQ(f.editor.StatusPanels()[3], "0.0001");
    EXPECT_EQ(f.editor.StatusPanels()[7], "0.001");

    ASSERT_TRUE(f.host.RunPosted());
    EXPECT_FALSE(f.editor.RunExists());
    EXPECT_TRUE(f.editor.StartEnabled());
    EXPECT_FALSE(f.editor.PauseEnabled());
    EXPECT_FALSE(f.editor.StopEnabled());
    EXPECT_TRUE(f.editor.SettingsEnabled());
    EXPECT_TRUE(f.editor.CanEdit());
    // The model time reached the duration: the panel shows the duration.
    EXPECT_EQ(f.editor.StatusPanels()[5], "0.01");
    // The display is the second consumer: it shows 2 * 1.0, not the plotter's 1.0.
    ASSERT_TRUE(f.editor.DisplayValue(*f.display));
    EXPECT_NEAR(*f.editor.DisplayValue(*f.display), 2.0, 1e-6);  // within the solution accuracy
    EXPECT_FALSE(f.editor.DisplayValue(*f.plotter));
    EXPECT_TRUE(std::filesystem::exists(f.dir.File("graf.dat")));
    EXPECT_TRUE(std::filesystem::exists(f.dir.File("graf.grp")));
    EXPECT_TRUE(f.messages.Entries.empty());

    // Kept after the run, cleared by the next start.
    f.editor.Start();
    EXPECT_FALSE(f.editor.DisplayValue(*f.display));
    ASSERT_TRUE(f.host.RunPosted());
    EXPECT_NEAR(*f.editor.DisplayValue(*f.display), 2.0, 1e-6);  // within the solution accuracy
    EXPECT_EQ(f.source->Resets, 2);
}

TEST(EditorRun, PauseHoldsTheRunAndStartContinuesTheSameRun) {
    RunFixture f;
    f.Endless();
    f.editor.Start();
    ASSERT_TRUE(f.WaitForTime(0.01));
    f.editor.Pause();
    EXPECT_TRUE(f.editor.RunPaused());
    // The links drawn are steps, but a run holds the schematic.
    EXPECT_FALSE(f.editor.UndoEnabled());
    f.editor.Undo();
    EXPECT_NE(f.block->FInputs[0]->GetSource(), nullptr);
    EXPECT_TRUE(f.editor.StartEnabled());
    EXPECT_FALSE(f.editor.PauseEnabled());
    EXPECT_TRUE(f.editor.StopEnabled());
    // Within a step the loop stands still.
    std::this_thread::sleep_for(50ms);
    const double held = f.ModelTime();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(f.ModelTime(), held);
    f.editor.UpdateSimStatus();  // the timer shows nothing new while paused

    f.editor.Start();
    EXPECT_FALSE(f.editor.RunPaused());
    EXPECT_FALSE(f.editor.StartEnabled());
    EXPECT_TRUE(f.editor.PauseEnabled());
    ASSERT_TRUE(f.WaitForTime(held));
    EXPECT_EQ(f.source->Resets, 1);  // the model was not built again
    f.editor.UpdateSimStatus();
    EXPECT_GT(std::stod(f.editor.StatusPanels()[5]), held);

    f.editor.Stop();
    EXPECT_FALSE(f.editor.StopEnabled());
    EXPECT_FALSE(f.editor.StartEnabled());
    ASSERT_TRUE(f.host.RunPosted());
    EXPECT_FALSE(f.editor.RunExists());
    EXPECT_TRUE(f.editor.StartEnabled());
    EXPECT_LT(std::stod(f.editor.StatusPanels()[5]), 1e9);
    EXPECT_TRUE(std::filesystem::exists(f.dir.File("graf.grp")));
}

TEST(EditorRun, StopEndsAPausedRun) {
    RunFixture f;
    f.Endless();
    f.editor.Start();
    ASSERT_TRUE(f.WaitForTime(0.0));
    f.editor.Pause();
    f.editor.Stop();
    ASSERT_TRUE(f.host.RunPosted());
    EXPECT_FALSE(f.editor.RunExists());
    EXPECT_TRUE(std::filesystem::exists(f.dir.File("graf.dat")));
}

TEST(EditorRun, NothingEditsTheSchematicWhileARunExists) {
    RunFixture f;
    f.Endless();
    TBaseElement* a = f.Place("TTestTwoPin", 100, 400);
    f.Click({120, 410});
    ASSERT_TRUE(a->FSelected);
    f.sheet.Modified = false;
    f.editor.Start();
    ASSERT_TRUE(f.editor.RunExists());
    EXPECT_FALSE(f.editor.CanTransform());

    f.Drag({120, 410}, {300, 600});
    f.Drag(f.source->FOutputs[0]->Centre(), {700, 700});
    f.Drag({50, 50}, {900, 900});
    f.editor.Rotate();
    f.editor.MirrorLeftRight();
    f.editor.MirrorTopBottom();
    f.editor.DeleteSelection();
    f.editor.BeginPinMode(true);
    EXPECT_EQ(f.editor.PlaceElement("TTestTwoPin", {500, 500}), nullptr);
    f.editor.New();
    f.editor.Open();

    EXPECT_EQ(a->Left, 100);
    EXPECT_EQ(a->Top, 400);
    EXPECT_EQ(a->FAngle, 0);
    EXPECT_FALSE(a->GetXFlip());
    EXPECT_TRUE(a->FSelected);
    EXPECT_EQ(f.sheet.Elements.Count(), 5);
    EXPECT_FALSE(f.editor.PinMode());
    EXPECT_EQ(f.plotter->FInputs[0]->GetSource(), f.source->FOutputs[0]);
    EXPECT_FALSE(f.sheet.Modified);
    EXPECT_TRUE(f.messages.Entries.empty());
    EXPECT_EQ(f.host.OpenDialogs, 0);
    EXPECT_EQ(f.editor.CursorShape(), TCursorShape::Default);

    f.editor.Stop();
    ASSERT_TRUE(f.host.RunPosted());
    f.Drag({120, 410}, {140, 420});
    EXPECT_EQ(a->Left, 120);
}

TEST(EditorRun, SettingsThatMakeNoRunAreReportedAndNoRunStarts) {
    RunFixture f;
    f.sheet.RunSettings.h = 0;
    f.editor.Start();
    EXPECT_FALSE(f.editor.RunExists());
    EXPECT_TRUE(f.editor.StartEnabled());
    EXPECT_EQ(f.messages.Texts(), std::vector<std::string>{"Шаг моделирования должен быть больше нуля."});
}

TEST(EditorRun, ClosingTheWindowEndsTheRunAndIgnoresItsLateNews) {
    RunFixture f;
    f.Endless();
    f.sheet.Modified = false;
    f.editor.Start();
    ASSERT_TRUE(f.WaitForTime(0.0));
    EXPECT_TRUE(f.editor.CanClose());
    EXPECT_FALSE(f.editor.RunExists());
    // The end of the run may have been posted before the gate closed; it
    // changes nothing now.
    f.host.RunPosted(200ms);
    EXPECT_FALSE(f.editor.RunExists());
    EXPECT_TRUE(f.editor.StartEnabled());
}

TEST(EditorRun, ChangedSettingsMarkTheSchematicAndShowInTheStatus) {
    RunFixture f;
    f.sheet.Modified = false;
    f.editor.SettingsChanged(false);
    EXPECT_FALSE(f.sheet.Modified);
    f.sheet.RunSettings.T = 3;
    f.sheet.RunSettings.GS = 0.05;
    f.editor.SettingsChanged(true);
    EXPECT_TRUE(f.sheet.Modified);
    EXPECT_EQ(f.editor.StatusPanels()[1], "3");
    EXPECT_EQ(f.editor.StatusPanels()[7], "0.05");
}

TEST(EditorRun, TheTooltipShowsTheOutputOfTheLastRun) {
    RunFixture f;
    const auto tip = [&f](const TBaseElement* e) {
        return *f.editor.TooltipAt({e->Left + e->Width / 2, e->Top + e->Height / 2});
    };
    EXPECT_EQ(tip(f.block).find("Выход"), std::string::npos);
    f.editor.Start();
    ASSERT_TRUE(f.host.RunPosted());
    // The block doubles the source's 1.0; the display has no output.
    EXPECT_TRUE(tip(f.block).ends_with("\nВыход: 2")) << tip(f.block);
    EXPECT_TRUE(tip(f.source).ends_with("\nВыход: 1")) << tip(f.source);
    EXPECT_EQ(tip(f.display).find("Выход"), std::string::npos);
    EXPECT_TRUE(f.messages.Entries.empty());
}

// The editor on the RC example, its run's files in a directory of their own.
struct RcEditor : EditorFixture {
    TempDir dir;
    RcEditor() {
        EXPECT_TRUE(editor.OpenFile(std::string(QUENTOR_SOURCE_DIR) + "/examples/rc.dvn"));
        editor.RunOptions.OutputDir = dir.Path().string();
        editor.RunOptions.StartViewer = false;
    }
    TBaseElement* Find(const std::string& cls) const {
        for (TBaseElement* e : sheet.Elements)
            if (e->ClassName() == cls) return e;
        return nullptr;
    }
};

// The number a hint or tooltip gives after `label`; NaN without the label.
double NumberAfter(const std::string& text, const std::string& label) {
    const std::size_t at = text.rfind(label);
    return at == std::string::npos ? NAN : std::stod(text.substr(at + label.size()));
}

// 12 V through 1 kΩ into 1 µF: the voltage meter across the capacitor shows
// 12·(1 − e^(−t/RC)) at the last sample, t = 5 ms less at most one output step.
TEST(EditorRun, TheTooltipOfAVoltageMeterShowsTheChargedCapacitor) {
    RcEditor f;
    TBaseElement* meter = f.Find("TVoltageSummator");
    ASSERT_TRUE(meter);
    f.editor.Start();
    ASSERT_TRUE(f.host.RunPosted());
    const std::string text = *f.editor.TooltipAt({meter->Left + meter->Width / 2, meter->Top + meter->Height / 2});
    const double shown = NumberAfter(text, "Выход: ");
    ASSERT_FALSE(std::isnan(shown)) << text;
    const double tau = 1000 * 1e-6, T = f.sheet.RunSettings.T, GS = f.sheet.RunSettings.GS;
    EXPECT_LE(shown, 12 * (1 - std::exp(-T / tau)) + 1e-3);
    EXPECT_GE(shown, 12 * (1 - std::exp(-(T - GS) / tau)) - 1e-3);
}

// The potentials belong to the run; the editor keeps the last run's for
// the wires' hints until the next run starts.
TEST(EditorRun, AfterTheRunTheWiresHintGivesTheLastPotential) {
    RcEditor f;
    TBaseElement* capacitor = f.Find("TCapacitor");
    ASSERT_TRUE(capacitor);
    TElectricLine* wire = capacitor->FindConnector("Connector1")->FLink;
    ASSERT_TRUE(wire);
    const TPoint on{wire->Left + wire->Width / 2, wire->Top + wire->Height / 2};
    const std::string before = f.editor.HintAt(on).value_or("");
    EXPECT_EQ(before.find("Потенциал"), std::string::npos) << before;
    f.editor.Start();
    ASSERT_TRUE(f.host.RunPosted());
    ASSERT_FALSE(f.editor.RunExists());
    const std::string after = f.editor.HintAt(on).value_or("");
    // The charged plate after n backward-Euler steps of the 1 ms RC:
    // 12·(1 − (1 + h/τ)^−n), n = T/h or one more (the steps' rounded sum).
    const double shown = NumberAfter(after, "Потенциал: ");
    ASSERT_FALSE(std::isnan(shown)) << after;
    const double h = f.sheet.RunSettings.h, steps = std::round(f.sheet.RunSettings.T / h);
    auto charged = [h](double n) { return 12 * (1 - std::pow(1 + h / 1e-3, -n)); };
    EXPECT_LT(std::min(std::abs(shown - charged(steps)), std::abs(shown - charged(steps + 1))), 1e-4) << after;
}

TEST(EditorRun, DeletedDisplaysForgetTheirValues) {
    RunFixture f;
    f.editor.Start();
    ASSERT_TRUE(f.host.RunPosted());
    ASSERT_TRUE(f.editor.DisplayValue(*f.display));
    const TBaseElement* gone = f.display;
    f.Click({f.display->Left + 30, f.display->Top + 20});
    ASSERT_TRUE(f.display->FSelected);
    f.editor.DeleteSelection();
    EXPECT_FALSE(f.editor.DisplayValue(*gone));
}

} // namespace

namespace {

// An exception on the run thread (memory exhausted above all) ends the run
// with a message; the editor, and the user's schematic, stay.
TEST(EditorRunLimits, MemoryExhaustedDuringARunEndsItWithAMessageAndTheEditorGoesOn) {
    RunFixture f;
    TBaseElement* faulty = f.Place("TTestThrowing", 100, 300);
    TBaseElement* plotter = f.Place("TPlotter", 300, 300);
    f.Drag(faulty->FOutputs[0]->Centre(), plotter->FInputs[0]->Centre());
    faulty->FindParam("At")->Value = 0.0045;
    f.editor.Start();
    ASSERT_TRUE(f.editor.RunExists());
    ASSERT_TRUE(f.host.RunPosted());
    EXPECT_FALSE(f.editor.RunExists());
    EXPECT_TRUE(f.editor.StartEnabled());
    EXPECT_TRUE(f.editor.CanEdit());
    ASSERT_EQ(f.messages.Entries.size(), 1u);
    EXPECT_EQ(f.messages.Entries[0].Kind, "error");
    // The faulty value is first read for the sample at 5 ms.
    EXPECT_EQ(f.messages.Entries[0].Text,
              "Недостаточно памяти: моделирование остановлено при t = 0.005 с.");
    // The samples before it, at 0 to 4 ms, are in the files.
    EXPECT_EQ(ReadGrafGrp(f.dir.File("graf.grp")).Times.size(), 5u);
    // And the next run starts as ever.
    faulty->FindParam("At")->Value = 1;
    f.messages.Clear();
    f.editor.Start();
    ASSERT_TRUE(f.host.RunPosted());
    EXPECT_TRUE(f.messages.Entries.empty());
}

TEST(EditorRunLimits, ARunOfMoreThanABillionStepsStartsOnlyWhenTheUserSaysYes) {
    RunFixture f;
    TRunSettings& m = f.sheet.RunSettings;
    m.T = 1e9;
    m.h = 1e-3;
    m.GS = 1e8;
    f.messages.Answers = {TAnswer::No};
    f.editor.Start();
    EXPECT_FALSE(f.editor.RunExists());
    ASSERT_EQ(f.messages.Entries.size(), 1u);
    EXPECT_EQ(f.messages.Entries[0].Kind, "question");
    EXPECT_EQ(f.messages.Entries[0].Text,
              "Моделирование займёт 1000000000000 шагов, это очень долго. Продолжить?");
    f.messages.Answers = {TAnswer::Yes};
    f.editor.Start();
    ASSERT_TRUE(f.editor.RunExists());
    f.editor.Stop();
    ASSERT_TRUE(f.host.RunPosted());
    EXPECT_FALSE(f.editor.RunExists());
}

} // namespace
