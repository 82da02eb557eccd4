#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "forms/DrawingGeometry.h"
#include "forms/ElementVariants.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TInfoConnector.h"

namespace {

std::vector<TPrimitive> Drawing(const TBaseElement& e) {
    return e.Image()->Primitives();
}

TEST(ElementPictures, EveryClassDrawsSomething) {
    for (const std::string& name : ConcreteClassNames()) {
        Schematic sheet;
        TBaseElement* e = CreateElementByName(sheet, name);
        EXPECT_FALSE(Drawing(*e).empty()) << name;
    }
}

// A picture may touch the box edges; one pixel beyond is the most a turn's
// halving can shift it.
TEST(ElementPictures, StayInsideTheElementBoxInEveryOrientation) {
    for (const std::string& name : ConcreteClassNames()) {
        for (const Orientation& o : Orientations()) {
            Schematic sheet;
            TBaseElement* e = CreateElementByName(sheet, name);
            Orient(*e, o);
            const DrawnBox b = BoundsOf(Drawing(*e));
            EXPECT_GE(b.left, -1.0) << name << " at " << o.name;
            EXPECT_GE(b.top, -1.0) << name << " at " << o.name;
            EXPECT_LE(b.right, e->Width) << name << " at " << o.name;
            EXPECT_LE(b.bottom, e->Height) << name << " at " << o.name;
        }
    }
}

// Wires attach at the pin centre, so a lead of the picture must end there.
TEST(ElementPictures, ALeadEndsAtEveryElectricalPinInEveryOrientation) {
    for (const std::string& name : ConcreteClassNames()) {
        for (const Orientation& o : Orientations()) {
            Schematic sheet;
            TBaseElement* e = CreateElementByName(sheet, name);
            Orient(*e, o);
            const auto drawing = Drawing(*e);
            for (const TConnector* c : e->FConnectors) {
                const double d = DistanceToDrawing(drawing, c->Left + c->Width / 2.0 - 0.5,
                                                   c->Top + c->Height / 2.0 - 0.5);
                EXPECT_LE(d, 1.5) << name << "." << c->Name << " at " << o.name;
            }
        }
    }
}

// A signal pin draws its own line across its box, so the picture must reach
// the box. Mirroring moves only the electrical pins, so a mirrored element
// with signal pins has them where the unmirrored picture put them.
TEST(ElementPictures, SignalPinsTouchThePicture) {
    for (const std::string& name : ConcreteClassNames()) {
        Schematic sheet;
        TBaseElement* e = CreateElementByName(sheet, name);
        const auto drawing = Drawing(*e);
        std::vector<const TInfoConnector*> pins(e->FInputs.begin(), e->FInputs.end());
        pins.insert(pins.end(), e->FOutputs.begin(), e->FOutputs.end());
        for (const TInfoConnector* p : pins) {
            const TRect box{p->Left, p->Top, p->Left + p->Width - 1, p->Top + p->Height - 1};
            EXPECT_LE(DistanceToDrawing(drawing, box), 3.0) << name << "." << p->Name;
        }
    }
}

// Blocks whose listed pins sit above their form's top edge cannot have them
// centred in the element box, and the hysteresis input starts 30 pixels into
// its form, where a turn never brings it back.
const std::set<std::string> PinsOffTheBoxCentre = {"TGain", "TConst", "TTransferFunction",
                                                   "TDisplay", "TGisteresis"};

TEST(ElementPictures, FourTurnsRestoreEveryPinAndThePicture) {
    for (const std::string& name : ConcreteClassNames()) {
        if (PinsOffTheBoxCentre.count(name)) continue;
        Schematic sheet;
        TBaseElement* e = CreateElementByName(sheet, name);
        std::vector<TRect> before;
        for (const auto& c : e->Children())
            before.push_back(c->BoundsRect());
        const auto drawingBefore = Drawing(*e);
        for (int i = 0; i < 4; ++i)
            e->SetAngle(e->GetAngle() + 90);
        std::vector<TRect> after;
        for (const auto& c : e->Children())
            after.push_back(c->BoundsRect());
        EXPECT_EQ(before, after) << name;
        EXPECT_EQ(e->FAngle, 0) << name;
        EXPECT_TRUE(Drawing(*e) == drawingBefore) << name;
    }
}

TEST(ElementPictures, TurnedBlocksKeepTheirPinsOnTheBody) {
    for (const std::string& name : ConcreteClassNames()) {
        if (PinsOffTheBoxCentre.count(name)) continue;
        Schematic sheet;
        TBaseElement* e = CreateElementByName(sheet, name);
        if (!IsSignalOnly(*e) || e->FInputs.size() > 1) continue;
        for (int turn = 1; turn < 4; ++turn) {
            e->SetAngle(e->GetAngle() + 90);
            const auto drawing = Drawing(*e);
            std::vector<const TInfoConnector*> pins(e->FInputs.begin(), e->FInputs.end());
            pins.insert(pins.end(), e->FOutputs.begin(), e->FOutputs.end());
            for (const TInfoConnector* p : pins) {
                const TRect box{p->Left, p->Top, p->Left + p->Width - 1, p->Top + p->Height - 1};
                EXPECT_LE(DistanceToDrawing(drawing, box), 3.0)
                    << name << "." << p->Name << " after " << turn << " turns";
            }
        }
    }
}

// Pins of a block meet its body half-way down, as the signal lines run.
TEST(ElementPictures, BlockPinsMeetTheBodyAtItsVerticalCentre) {
    for (const std::string& name : ConcreteClassNames()) {
        Schematic sheet;
        TBaseElement* e = CreateElementByName(sheet, name);
        if (!IsSignalOnly(*e) || e->FInputs.size() > 1) continue;
        const DrawnBox body = BoundsOf(Drawing(*e));
        const double middle = (body.top + body.bottom) / 2;
        std::vector<const TInfoConnector*> pins(e->FInputs.begin(), e->FInputs.end());
        pins.insert(pins.end(), e->FOutputs.begin(), e->FOutputs.end());
        for (const TInfoConnector* p : pins)
            EXPECT_NEAR(p->Top + p->Height / 2.0 - 0.5, middle, 1.0) << name << "." << p->Name;
    }
}

} // namespace
