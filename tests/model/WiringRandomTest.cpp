// Long random editing sequences, with the wiring invariants checked after
// every step. Seeded, so a failure names the seed and step to replay.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "support/TestElements.h"
#include "support/WireDrawing.h"
#include "support/WiringInvariants.h"

namespace {

class RandomEditor {
public:
    // `drawing`: only what the editor's gestures and the file can hold:
    // elements placed and freed, wires drawn between pins (also pins that
    // hold a wire already) and deleted.
    explicit RandomEditor(unsigned seed, bool drawing = false) : rng_(seed), drawing_(drawing) {}

    Schematic sheet;
    // How often the interesting cases came up, so that the test is known to
    // have reached them.
    int Splits = 0;
    int SegmentDrags = 0;
    int WiresFollowed = 0;
    int HeldPins = 0;

    // What the last step may do to the nets of the pins: moves keep them as
    // they are, drawing may only join them, the rest may also tear them.
    enum class TPinNets { Kept, Joined, Any };
    TPinNets LastNets = TPinNets::Any;

    // Applies one random operation; returns what it did.
    std::string Step() {
        LastNets = TPinNets::Any;
        if (sheet.Elements.Count() < 3) return Place();
        if (drawing_) {
            switch (Uniform(0, 9)) {
            case 0: return sheet.Elements.Count() < 7 ? Place() : FreeElement();
            case 1: return DeleteSegment();
            case 2: return SelectAndDelete();
            case 3: return Route();
            default: return PinToPin();
            }
        }
        switch (Uniform(0, 12)) {
        case 0: return sheet.Elements.Count() < 7 ? Place() : FreeElement();
        case 1: case 2: case 3: return Route();
        case 4: return JoinCrossing();
        case 5: return ConnectPin();
        case 6: case 7: return DragSegment();
        case 8: case 9: return MoveElement();
        case 10: return TurnElement();
        case 11: return DeleteSegment();
        default: return SelectAndDelete();
        }
    }

private:
    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    template <class T>
    T* Pick(const TTypedList<T>& list) {
        return list.Empty() ? nullptr : list[Uniform(0, list.Count() - 1)];
    }
    TPoint AnyPoint() { return {Uniform(10, 700), Uniform(10, 700)}; }
    TPoint Jitter(TPoint p, int r) { return {p.x + Uniform(-r, r), p.y + Uniform(-r, r)}; }
    TPoint OnSegment(const TElectricLine* s) {
        const TPoint a = s->StartPoint(), b = s->EndPoint();
        return s->FVertical ? TPoint{a.x, Uniform(a.y, b.y)} : TPoint{Uniform(a.x, b.x), a.y};
    }

    std::string Place() {
        const char* cls = Uniform(0, 1) ? "TTestTwoPin" : "TTestThreePin";
        PlaceElement(sheet, cls, Uniform(20, 600), Uniform(20, 600));
        return std::string("place ") + cls;
    }

    std::string FreeElement() {
        sheet.FreeElement(Pick(sheet.Elements));
        return "free element";
    }

    std::string Route() {
        TConnector* pin = Pick(sheet.ConnectorList);
        TPoint to = AnyPoint();
        switch (Uniform(0, 3)) {
        case 0: {
            if (TConnector* other = Pick(sheet.ConnectorList)) to = Jitter(other->GetLink(), 16);
            break;
        }
        case 1: {
            if (TElectricLine* s = Pick(sheet.Lines)) to = Jitter(OnSegment(s), 16);
            break;
        }
        case 2:
            to = Uniform(0, 1) ? TPoint{to.x, pin->GetYLink()} : TPoint{pin->GetXLink(), to.y};
            break;
        default: break;
        }
        DragWire(pin, to);
        LastNets = TPinNets::Joined;
        return "route to " + std::to_string(to.x) + "," + std::to_string(to.y);
    }

    // A wire from a pin released on or near another pin, which often holds a
    // wire already, as does the pin it starts from.
    std::string PinToPin() {
        TConnector* from = Pick(sheet.ConnectorList);
        TConnector* to = Pick(sheet.ConnectorList);
        const TPoint at = Uniform(0, 1) ? to->GetLink() : Jitter(to->GetLink(), 10);
        const bool held = to->IsConnected() || from->IsConnected();
        DragWire(from, at);
        LastNets = TPinNets::Joined;
        HeldPins += held;
        return "pin to pin " + std::to_string(at.x) + "," + std::to_string(at.y);
    }

    // Two perpendicular segments whose axes cross are joined at the crossing.
    std::string JoinCrossing() {
        for (int tries = 0; tries < 20; ++tries) {
            TElectricLine* a = Pick(sheet.Lines);
            TElectricLine* b = Pick(sheet.Lines);
            if (!a || !b || a->FVertical == b->FVertical) continue;
            TElectricLine* v = a->FVertical ? a : b;
            TElectricLine* h = a->FVertical ? b : a;
            const TPoint p{v->StartPoint().x, h->StartPoint().y};
            if (!v->OnAxis(p) || !h->OnAxis(p)) continue;
            const bool joined = TElectricLine::Join(a, b, p);
            LastNets = TPinNets::Joined;
            return std::string("join at crossing ") + (joined ? "done" : "refused");
        }
        return "join: no crossing";
    }

    std::string ConnectPin() {
        TConnector* pin = Pick(sheet.ConnectorList);
        if (Uniform(0, 3) == 0) {
            pin->ConnectTo(nullptr);
            return "disconnect pin";
        }
        TElectricLine* taker = pin->ConnectTo(Pick(sheet.Lines));
        return std::string("connect pin ") + (taker ? "done" : "refused");
    }

    std::string DragSegment() {
        TElectricLine* s = Pick(sheet.Lines);
        if (!s) return "drag: no segment";
        const TRect before = s->BoundsRect();
        TPoint p = OnSegment(s);
        s->MouseDown(TMouseButton::Left, false, p);
        for (int moves = Uniform(1, 4); moves > 0; --moves) {
            p = Jitter(p, 40);
            s->MouseMove(p);
        }
        s->MouseUp(TMouseButton::Left, false, p);
        LastNets = TPinNets::Kept;
        if (s->BoundsRect() != before) ++SegmentDrags;
        return "drag segment";
    }

    std::string MoveElement() {
        TBaseElement* e = Pick(sheet.Elements);
        const int dx = Uniform(-40, 40), dy = Uniform(-40, 40);
        const int left = e->Left, top = e->Top;
        e->MoveBy(dx, dy);
        LastNets = TPinNets::Kept;
        const bool moved = e->Left != left || e->Top != top;
        for (TConnector* c : e->FConnectors) WiresFollowed += moved && c->IsConnected();
        return "move element by " + std::to_string(dx) + "," + std::to_string(dy);
    }

    std::string TurnElement() {
        TBaseElement* e = Pick(sheet.Elements);
        LastNets = TPinNets::Kept;
        switch (Uniform(0, 2)) {
        case 0: e->SetAngle(e->GetAngle() + 90); return "turn element";
        case 1: e->SetXFlip(!e->GetXFlip()); return "mirror element left-right";
        default: e->SetYFlip(!e->GetYFlip()); return "mirror element top-bottom";
        }
    }

    std::string DeleteSegment() {
        const int nodes = sheet.Nodes.Count();
        if (TElectricLine* s = Pick(sheet.Lines)) delete s;
        Splits += sheet.Nodes.Count() > nodes;
        return "delete segment";
    }

    std::string SelectAndDelete() {
        TElectricLine* s = Pick(sheet.Lines);
        if (!s) return "select: no segment";
        const TPoint p = OnSegment(s);
        s->MouseDown(TMouseButton::Left, false, p);
        s->MouseUp(TMouseButton::Left, false, p);
        sheet.DeleteSelection();
        return "delete a node";
    }

    std::mt19937 rng_;
    bool drawing_ = false;
};

// Also every move, turn, mirror and join: what the sheet holds joined the
// file keeps joined, and moving neither joins nor tears the nets of pins.
TEST(WiringRandom, InvariantsHoldAfterEveryEditingStep) {
    constexpr int Seeds = 60;
    constexpr int Steps = 400;
    int splits = 0, drags = 0, followed = 0, tappedSteps = 0;
    for (unsigned seed = 1; seed <= Seeds; ++seed) {
        RandomEditor editor(seed);
        for (int step = 0; step < Steps; ++step) {
            const std::vector<int> before = PinNodes(editor.sheet);
            const std::string what = editor.Step();
            const std::string where =
                "seed " + std::to_string(seed) + ", step " + std::to_string(step) + ": " + what;
            ASSERT_EQ(WiringFault(editor.sheet), "") << where;
            ASSERT_EQ(RoundTripFault(editor.sheet), "") << where;
            if (editor.LastNets == RandomEditor::TPinNets::Kept) {
                ASSERT_EQ(PinNodes(editor.sheet), before) << where;
            } else if (editor.LastNets == RandomEditor::TPinNets::Joined) {
                ASSERT_EQ(SeparatedPins(before, editor.sheet), "") << where;
            }
            for (const TElectricLine* s : editor.sheet.Lines)
                if (!s->FTaps.empty()) {
                    ++tappedSteps;
                    break;
                }
        }
        splits += editor.Splits;
        drags += editor.SegmentDrags;
        followed += editor.WiresFollowed;
    }
    EXPECT_GT(splits, 0);
    EXPECT_GT(drags, 0);
    EXPECT_GT(followed, 0);
    EXPECT_GT(tappedSteps, 0);
}

// What the editor shows joined stays joined in the file, and drawing a wire
// never takes a pin from the wire it had.
TEST(WiringRandom, DrawnWiresKeepEveryJointAndSurviveTheFile) {
    constexpr int Seeds = 30;
    constexpr int Steps = 150;
    int held = 0;
    for (unsigned seed = 1; seed <= Seeds; ++seed) {
        RandomEditor editor(seed, true);
        for (int step = 0; step < Steps; ++step) {
            const std::vector<int> before = PinNodes(editor.sheet);
            const int elements = editor.sheet.Elements.Count();
            const std::string what = editor.Step();
            const std::string where = "seed " + std::to_string(seed) + ", step " + std::to_string(step) + ": " + what;
            ASSERT_EQ(WiringFault(editor.sheet), "") << where;
            ASSERT_EQ(RoundTripFault(editor.sheet), "") << where;
            if (what.rfind("pin to pin", 0) == 0 || what.rfind("route", 0) == 0) {
                ASSERT_EQ(editor.sheet.Elements.Count(), elements);
                ASSERT_EQ(SeparatedPins(before, editor.sheet), "") << where;
            }
        }
        held += editor.HeldPins;
    }
    EXPECT_GT(held, 500);
}

} // namespace
