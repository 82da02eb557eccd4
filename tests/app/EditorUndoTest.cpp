#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "EditorFixture.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"
#include "model/TInfoConnector.h"
#include "support/TempDir.h"
#include "support/WiringInvariants.h"

namespace {

std::string FileText(const Schematic& sheet) {
    std::string text;
    for (const std::string& line : SchematicToLines(sheet))
        text += line + "\n";
    return text;
}

// The first line where two file texts differ, for a readable failure.
std::string FirstDifference(const std::string& a, const std::string& b) {
    std::size_t line = 1, start = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i])
            return "line " + std::to_string(line) + ": " +
                   a.substr(start, a.find('\n', start) - start) + " / " +
                   b.substr(start, b.find('\n', start) - start);
        if (a[i] == '\n') {
            ++line;
            start = i + 1;
        }
    }
    return a.size() == b.size() ? std::string() : "lengths differ";
}

TEST(UndoStack, StepsKeepOnlyTheChangedSpanAndRestoreEveryState) {
    TUndoStack s;
    s.Reset("abcXdef");
    EXPECT_FALSE(s.CanUndo());
    EXPECT_FALSE(s.Record("none", "abcXdef"));
    // Repeated letters at the joint: head and tail must not overlap.
    const std::vector<std::string> states{"abcXdef", "abcXXdef", "abcXdef", "abcXdefdef",
                                          "",        "aaaa",     "aa",      "zaaz"};
    for (std::size_t i = 1; i < states.size(); ++i)
        ASSERT_TRUE(s.Record("step" + std::to_string(i), states[i]));
    EXPECT_EQ(s.Count(), states.size() - 1);
    EXPECT_EQ(s.UndoName(), "step7");
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        EXPECT_EQ(s.UndoName(), "step" + std::to_string(i));
        EXPECT_EQ(s.Undo(), states[i - 1]);
    }
    EXPECT_FALSE(s.CanUndo());
    EXPECT_EQ(s.RedoName(), "step1");
    for (std::size_t i = 1; i < states.size(); ++i)
        EXPECT_EQ(s.Redo(), states[i]);
    EXPECT_FALSE(s.CanRedo());
    EXPECT_EQ(s.RedoName(), "");
}

TEST(UndoStack, ANewStepDropsTheRedoStepsAndTheCleanStateFollowsTheSave) {
    TUndoStack s;
    s.Reset("one");
    EXPECT_TRUE(s.IsClean());
    s.Record("a", "two");
    EXPECT_FALSE(s.IsClean());
    s.Undo();
    EXPECT_TRUE(s.IsClean());
    s.Redo();
    s.SetClean();
    s.Record("b", "three");
    s.Undo();
    EXPECT_TRUE(s.IsClean());
    s.Undo();
    EXPECT_FALSE(s.IsClean());
    // A new branch from "one": the saved "two" cannot be reached any more.
    s.Record("c", "four");
    EXPECT_EQ(s.Count(), 1u);
    EXPECT_FALSE(s.CanRedo());
    s.Undo();
    EXPECT_EQ(s.Text(), "one");
    EXPECT_FALSE(s.IsClean());
    EXPECT_EQ(s.Redo(), "four");
    EXPECT_FALSE(s.IsClean());
}

TEST(EditorUndo, EveryCommandIsOneNamedStepAndModifiedFollowsTheSavedState) {
    TempDir dir;
    EditorFixture f;
    const std::string empty = FileText(f.sheet);
    f.editor.PlaceElement("TResistor", {200, 200});
    f.editor.MouseMove({220, 210});
    EXPECT_FALSE(f.editor.UndoEnabled()); // still following the mouse
    f.Click({220, 210});
    ASSERT_EQ(f.sheet.Elements.Count(), 1);
    TBaseElement* r = f.sheet.Elements[0];
    EXPECT_EQ(f.editor.UndoName(), "Размещение");
    const std::string placed = FileText(f.sheet);

    // A drag over many moves is one step; a click on it records nothing.
    f.editor.MouseDown(TMouseButton::Left, false, {r->Left + r->Width / 2, r->Top + r->Height / 2});
    for (int i = 1; i <= 20; ++i)
        f.editor.MouseMove({r->Left + r->Width / 2 + 5, r->Top + r->Height / 2 + 3});
    f.editor.MouseUp(TMouseButton::Left, false, {r->Left + r->Width / 2, r->Top + r->Height / 2});
    EXPECT_EQ(f.editor.History().Count(), 2u);
    EXPECT_EQ(f.editor.UndoName(), "Перемещение");
    const std::string moved = FileText(f.sheet);
    EXPECT_NE(moved, placed);
    f.Click({r->Left + r->Width / 2, r->Top + r->Height / 2});
    EXPECT_EQ(f.editor.History().Count(), 2u);

    ASSERT_TRUE(r->FSelected);
    f.editor.Rotate();
    EXPECT_EQ(f.editor.UndoName(), "Поворот");
    f.editor.MirrorLeftRight();
    EXPECT_EQ(f.editor.UndoName(), "Отражение слева направо");
    f.editor.MirrorTopBottom();
    EXPECT_EQ(f.editor.UndoName(), "Отражение сверху вниз");
    f.host.SaveNames = {dir.File("u.dvn")};
    ASSERT_TRUE(f.editor.SaveAs());
    EXPECT_FALSE(f.sheet.Modified);
    const std::string saved = FileText(f.sheet);

    f.editor.DeleteSelection();
    EXPECT_EQ(f.editor.UndoName(), "Удаление");
    EXPECT_TRUE(f.sheet.Modified);
    EXPECT_EQ(FileText(f.sheet), empty);

    f.editor.Undo();
    EXPECT_EQ(FileText(f.sheet), saved);
    EXPECT_FALSE(f.sheet.Modified); // back at the saved state
    EXPECT_TRUE(f.sheet.SelectedElements.Empty());
    EXPECT_EQ(f.editor.RedoName(), "Удаление");
    f.editor.Undo();
    f.editor.Undo();
    f.editor.Undo();
    EXPECT_TRUE(f.sheet.Modified);
    EXPECT_EQ(FileText(f.sheet), moved);
    f.editor.Undo();
    EXPECT_EQ(FileText(f.sheet), placed);
    f.editor.Undo();
    EXPECT_EQ(FileText(f.sheet), empty);
    EXPECT_FALSE(f.editor.UndoEnabled());
    EXPECT_TRUE(f.sheet.Elements.Empty());
    for (int i = 0; i < 5; ++i)
        f.editor.Redo();
    EXPECT_EQ(FileText(f.sheet), saved);
    EXPECT_FALSE(f.sheet.Modified);

    f.sheet.RunSettings.T = 7;
    f.editor.SettingsChanged(true);
    EXPECT_EQ(f.editor.UndoName(), "Параметры моделирования");
    f.editor.Undo();
    EXPECT_NE(f.sheet.RunSettings.T, 7);
    EXPECT_FALSE(f.sheet.Modified);
    EXPECT_TRUE(f.messages.Entries.empty());
}

TEST(EditorUndo, OpeningAFileStartsAFreshHistory) {
    TempDir dir;
    EditorFixture f;
    f.editor.PlaceElement("TResistor", {200, 200});
    f.Click({200, 200});
    f.host.SaveNames = {dir.File("o.dvn")};
    ASSERT_TRUE(f.editor.SaveAs());
    ASSERT_TRUE(f.editor.OpenFile(dir.File("o.dvn")));
    EXPECT_FALSE(f.editor.UndoEnabled());
    EXPECT_FALSE(f.editor.RedoEnabled());
    f.messages.Answers = {TAnswer::No};
    f.editor.New();
    EXPECT_FALSE(f.editor.UndoEnabled());
}

// The dialog stand-in: accepting it doubles the first parameter.
class DoublingHost : public TSheetHost {
public:
    void EditElementParams(TBaseElement& element) override {
        if (element.ParamValues.empty()) return;
        element.ParamValues[0].Value = element.ParamValues[0].Value * 2 + 1;
        element.Sheet().Modified = true;
    }
};

TPoint Middle(const TRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Random edits through the mouse and the commands, as a user makes them.
class RandomEditor {
public:
    RandomEditor(EditorFixture& f, unsigned seed) : f_(f), rng_(seed) {}
    int LastOp = 0;
    // The last edit placed or deleted elements, or may have deleted segments.
    bool ChangedPins = false;
    // The last edit's press fell on a pin (the middle of an element or a
    // segment, or a rubber band's corner, can lie on one), so it drew a wire
    // instead of moving or selecting what it aimed at.
    bool DrewWire = false;

    // Makes one random edit; returns how many gestures and commands it took.
    std::size_t Edit() {
        Schematic& s = f_.sheet;
        const int n = s.Elements.Count();
        const int op = n < 6 ? 0 : Int(0, 13);
        LastOp = op;
        ChangedPins = op == 0 || op == 12;
        DrewWire = op == 3 || op == 4;
        switch (op) {
        case 0: {
            static const char* const classes[] = {"TResistor",        "TCapacitor", "TBattery",
                                                  "TGround",          "TGain",      "TConst",
                                                  "TSummingJunction", "TPlotter"};
            const TPoint at{Int(40, 900), Int(40, 700)};
            f_.editor.PlaceElement(classes[Int(0, 7)], at);
            const TPoint down{at.x + Int(-30, 30), at.y + Int(-30, 30)};
            f_.editor.MouseMove(down);
            f_.Click(down);
            break;
        }
        case 1:
        case 2: {
            TBaseElement* e = s.Elements[Int(0, n - 1)];
            const TPoint from = Middle(e->BoundsRect());
            DrewWire = HitTest(s, from).Connector != nullptr;
            f_.Drag(from, {from.x + Int(-80, 80), from.y + Int(-80, 80)});
            break;
        }
        case 3:
        case 4: {
            const auto pins = s.ConnectorList.Items();
            if (pins.size() < 2) break;
            TConnector* a = pins[std::size_t(Int(0, int(pins.size()) - 1))];
            TConnector* b = pins[std::size_t(Int(0, int(pins.size()) - 1))];
            f_.Drag(CentreOf(*a), CentreOf(*b));
            break;
        }
        case 5: {
            if (s.Lines.Empty()) break;
            TElectricLine* w = s.Lines[Int(0, s.Lines.Count() - 1)];
            const TPoint from = Middle(w->BoundsRect());
            DrewWire = HitTest(s, from).Connector != nullptr;
            f_.Drag(from, {from.x + Int(-40, 40), from.y + Int(-40, 40)});
            break;
        }
        case 6:
        case 7: {
            const auto outs = s.AllOutputs.Items();
            const auto ins = s.AllInputs.Items();
            if (outs.empty() || ins.empty()) break;
            TInfoOutput* o = outs[std::size_t(Int(0, int(outs.size()) - 1))];
            TInfoInput* i = ins[std::size_t(Int(0, int(ins.size()) - 1))];
            if (Int(0, 3) == 0)
                f_.Drag(i->Centre(), {1500, 1500}); // unlink
            else
                f_.Drag(o->Centre(), i->Centre());
            break;
        }
        case 8: {
            std::vector<TBaseElement*> junctions;
            for (TBaseElement* e : s.Elements)
                if (e->ClassName() == "TSummingJunction") junctions.push_back(e);
            if (junctions.empty()) break;
            TBaseElement* e = junctions[std::size_t(Int(0, int(junctions.size()) - 1))];
            // Only where the junction is on top: elements on the grid often overlap.
            const TPoint at{e->Left + 2, e->Top + e->Height / 2};
            if (HitTest(s, at).Element != e) break;
            f_.editor.BeginPinMode(Int(0, 1) == 0);
            f_.Click(at);
            f_.editor.Escape();
            break;
        }
        case 9: {
            TBaseElement* e = s.Elements[Int(0, n - 1)];
            f_.Click(Middle(e->BoundsRect()), false, TMouseButton::Right);
            break;
        }
        case 10: {
            const TPoint a{Int(0, 800), Int(0, 600)};
            DrewWire = HitTest(s, a).Connector != nullptr;
            f_.Drag(a, {a.x + Int(20, 200), a.y + Int(20, 200)});
            ChangedPins = Int(0, 1) == 1;
            if (ChangedPins)
                f_.editor.DeleteSelection();
            else
                f_.editor.Rotate();
            return 2;
        }
        case 11: {
            TBaseElement* e = s.Elements[Int(0, n - 1)];
            DrewWire = HitTest(s, Middle(e->BoundsRect())).Connector != nullptr;
            f_.Click(Middle(e->BoundsRect()));
            if (Int(0, 1))
                f_.editor.MirrorLeftRight();
            else
                f_.editor.MirrorTopBottom();
            return 2;
        }
        case 12: {
            TBaseElement* e = s.Elements[Int(0, n - 1)];
            f_.Click(Middle(e->BoundsRect()));
            f_.editor.DeleteSelection();
            return 2;
        }
        case 13:
            s.RunSettings.T = Int(1, 50) / 10.0;
            f_.editor.SettingsChanged(true);
            break;
        }
        return 1;
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    EditorFixture& f_;
    std::mt19937 rng_;
};

TEST(EditorUndo, TwoThousandRandomEditsUndoAndRedoToTheSameFiles) {
    EditorFixture f;
    f.editor.SnapToGrid = true; // as the window starts
    DoublingHost host;
    f.sheet.Host = &host;
    const std::string start = FileText(f.sheet);
    RandomEditor edits(f, 20261209);
    std::vector<std::string> states{start}; // the file after each recorded step
    for (int i = 0; i < 2000; ++i) {
        const std::size_t before = f.editor.History().Count();
        const std::vector<int> pinsBefore = PinNodes(f.sheet);
        const std::size_t gestures = edits.Edit();
        const std::size_t after = f.editor.History().Count();
        ASSERT_LE(after, before + gestures) << "edit " << i << " op " << edits.LastOp;
        // A two-gesture edit's first state is checked by its undo alone.
        if (after == before + 2) states.push_back("");
        if (after > before) states.push_back(FileText(f.sheet));
        ASSERT_EQ(FileText(f.sheet), states.back()) << "edit " << i;
        ASSERT_EQ(WiringFault(f.sheet), "") << "edit " << i;
        // Saving and reading back gives the same file, which restoring relies on.
        Schematic copy;
        LoadSchematicLines(copy, SchematicToLines(f.sheet));
        ASSERT_EQ(FirstDifference(FileText(copy), FileText(f.sheet)), "")
            << "edit " << i << " op " << edits.LastOp;
        // The same text can still have lost a joint the file does not record.
        ASSERT_EQ(RoundTripFault(f.sheet, copy), "") << "edit " << i << " op " << edits.LastOp;
        // Only placing and deleting change the pins; drawing a wire may join
        // their nets but never tear one, and moving, turning or mirroring
        // neither joins nor tears.
        if (!edits.ChangedPins) {
            ASSERT_EQ(SeparatedPins(pinsBefore, f.sheet), "") << "edit " << i << " op " << edits.LastOp;
            if (!edits.DrewWire) {
                ASSERT_EQ(PinNodes(f.sheet), pinsBefore) << "edit " << i << " op " << edits.LastOp;
            }
        }
    }
    const std::string end = FileText(f.sheet);
    ASSERT_GT(states.size(), 1000u);
    EXPECT_GT(f.sheet.Elements.Count(), 5);
    EXPECT_FALSE(f.sheet.Lines.Empty());

    for (std::size_t k = states.size() - 1; k > 0; --k) {
        ASSERT_TRUE(f.editor.UndoEnabled());
        f.editor.Undo();
        if (!states[k - 1].empty()) {
            ASSERT_EQ(FirstDifference(FileText(f.sheet), states[k - 1]), "")
                << "undo to state " << k - 1;
        }
        ASSERT_EQ(WiringFault(f.sheet), "") << "undo to state " << k - 1;
    }
    EXPECT_FALSE(f.editor.UndoEnabled());
    EXPECT_EQ(FileText(f.sheet), start);
    for (std::size_t k = 1; k < states.size(); ++k) {
        f.editor.Redo();
        if (!states[k].empty()) {
            ASSERT_EQ(FirstDifference(FileText(f.sheet), states[k]), "") << "redo to state " << k;
        }
        ASSERT_EQ(WiringFault(f.sheet), "") << "redo to state " << k;
    }
    EXPECT_EQ(FileText(f.sheet), end);
    // Pin mode on a junction at its limits says so; nothing else is reported.
    for (const std::string& text : f.messages.Texts())
        EXPECT_TRUE(text == "У этого блока нельзя удалять информационные входы." ||
                    text == "К этому блоку нельзя добавить информационные входы.")
            << text;
    f.sheet.Host = nullptr;
}

TEST(EditorUndo, AStepOfAThousandElementSchematicIsFastAndSmall) {
    EditorFixture f;
    for (int i = 0; i < 1000; ++i) {
        static const char* const classes[] = {"TResistor", "TCapacitor", "TGain", "TConst"};
        f.Place(classes[i % 4], 100 * (i % 30), 60 * (i / 30));
    }
    f.editor.ForgetHistory();
    TBaseElement* e = f.sheet.Elements[500];
    const auto t0 = std::chrono::steady_clock::now();
    const TPoint from = Middle(e->BoundsRect());
    f.Drag(from, from + TPoint{7, 3});
    const auto t1 = std::chrono::steady_clock::now();
    f.editor.Undo();
    const auto t2 = std::chrono::steady_clock::now();
    ASSERT_EQ(f.editor.History().Count(), 1u);
    ASSERT_EQ(f.sheet.Elements.Count(), 1000);
    const double recordMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
    const double undoMs = std::chrono::duration<double, std::milli>(t2 - t1).count();
    std::printf(
        "1000 elements: file %zu bytes, step %zu bytes, drag and record %.2f ms, undo %.2f ms\n",
        f.editor.History().Text().size(), f.editor.History().StepBytes(), recordMs, undoMs);
    EXPECT_LT(f.editor.History().StepBytes(), 1u << 20);
}

} // namespace
