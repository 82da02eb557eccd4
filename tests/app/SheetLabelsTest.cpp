#include <gtest/gtest.h>

#include "app/SheetLabels.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "support/RecordingMessages.h"

namespace {

struct LabelsFixture {
    RecordingMessages messages;
    Schematic sheet;
    TBaseElement* Add(const char* cls, int left = 100, int top = 100) {
        TBaseElement* e = CreateElementByName(sheet, cls);
        e->Left = left;
        e->Top = top;
        return e;
    }
};

TEST(SheetLabels, NamesCountEachLetterInElementOrderAndGroundHasNone) {
    LabelsFixture f;
    for (const char* cls : {"TResistor", "TCapacitor", "TResistor", "TGround", "TGain", "TBattery",
                            "TConst", "TResistor"})
        f.Add(cls);
    EXPECT_EQ(DerivedNames(f.sheet),
              (std::vector<std::string>{"R1", "C1", "R2", "", "A1", "GB1", "A2", "R3"}));
    // Deleting an element renumbers the ones after it; nothing is stored.
    f.sheet.FreeElement(f.sheet.Elements[0]);
    EXPECT_EQ(DerivedNames(f.sheet)[1], "R1");
    EXPECT_EQ(DerivedNames(f.sheet).back(), "R2");
}

TEST(SheetLabels, TheMainValueIsInItsUnitAndBlocksShowNone) {
    LabelsFixture f;
    TBaseElement* r = f.Add("TResistor");
    EXPECT_EQ(MainValueText(*r), "1 кОм"); // 1000 Ом shown in the row's kilo-ohm unit
    r->FindParam("R")->Value = 4700;
    EXPECT_EQ(MainValueText(*r), "4.7 кОм");
    r->FindParam("R")->Unit = 0;
    EXPECT_EQ(MainValueText(*r), "4700 Ом");
    EXPECT_EQ(MainValueText(*f.Add("TBattery")), "12 В");
    EXPECT_EQ(MainValueText(*f.Add("TGain")), "");
    EXPECT_EQ(MainValueText(*f.Add("TGround")), "");
    EXPECT_TRUE(f.messages.Entries.empty());
}

TEST(SheetLabels, EveryClassShowsANumberOrNothingNeverAnOptionIndex) {
    LabelsFixture f;
    for (const TElementClass* cls : AllElementClasses()) {
        if (!cls->Create) continue;
        const std::string text = MainValueText(*f.Add(cls->Name.c_str()));
        SCOPED_TRACE(cls->Name + ": " + text);
        EXPECT_EQ(text.find("nan"), std::string::npos);
        EXPECT_EQ(text.find("NAN"), std::string::npos);
        EXPECT_EQ(text.find("inf"), std::string::npos);
    }
    // An induction motor's first row is its output choice: the inertia shows.
    EXPECT_EQ(MainValueText(*f.Add("TAtd")), "5E-5 кг м2");
}

TEST(SheetLabels, LabelsSitAboveWideBoxesAndBesideTallOnes) {
    LabelsFixture f;
    TBaseElement* r = f.Add("TResistor", 200, 300);
    ASSERT_GT(r->Width, r->Height);
    TElementLabel wide = LabelOf(*r, "R1");
    EXPECT_EQ(wide.Lines, (std::vector<std::string>{"R1", "1 кОм"}));
    EXPECT_TRUE(wide.Above);
    EXPECT_EQ(wide.At, (TPoint{200 + r->Width / 2, 298}));
    r->SetAngle(90);
    ASSERT_LT(r->Width, r->Height);
    const TElementLabel tall = LabelOf(*r, "R1");
    EXPECT_FALSE(tall.Above);
    EXPECT_EQ(tall.At, (TPoint{200 + r->Width + 4, 300 + r->Height / 2}));
    EXPECT_EQ(LabelOf(*f.Add("TGround"), "").Lines, std::vector<std::string>{});
}

TEST(SheetLabels, TheTooltipListsTheReferenceParametersWithUnits) {
    LabelsFixture f;
    TBaseElement* b = f.Add("TBattery");
    EXPECT_EQ(ElementTooltip(*b, "GB1"),
              "GB1 — Аккумуляторная батарея\nЭДС: 12 В\nВнутреннее сопротивление: 1 Ом\n"
              "Коэффициент разряда: 1\nКоэффициент заряда: 1");
    // After a run: the output, to six digits whatever the locale.
    TBaseElement* gain = f.Add("TGain");
    EXPECT_TRUE(ElementTooltip(*gain, "A1", 2.0 / 3).ends_with("\nВыход: 0.666667"));
    EXPECT_TRUE(ElementTooltip(*gain, "A1", -1.5e-7).ends_with("\nВыход: -1.5E-7"));
    EXPECT_EQ(ElementTooltip(*gain, "A1").find("Выход"), std::string::npos);
}

TEST(SheetLabels, TheExportedAreaHoldsTheDrawingAndItsLabelsWithAMargin) {
    LabelsFixture f;
    EXPECT_FALSE(DrawingBounds(f.sheet, false, 10));
    TBaseElement* g = f.Add("TGround", 300, 400); // no label
    TBaseElement* c = f.Add("TConst", 100, 100);  // a block: its name above or beside
    const TRect ground = g->BoundsRect();
    g->SetSelected(true);
    const auto selected = DrawingBounds(f.sheet, true, 10);
    ASSERT_TRUE(selected);
    EXPECT_EQ(*selected,
              (TRect{ground.left - 10, ground.top - 10, ground.right + 10, ground.bottom + 10}));
    const auto all = DrawingBounds(f.sheet, false, 0);
    ASSERT_TRUE(all);
    const TElementLabel label = LabelOf(*c, "A1");
    EXPECT_LE(all->left, std::min(c->Left, label.At.x - (label.Above ? 40 : 0)));
    EXPECT_LE(all->top, label.Above ? label.At.y - 13 : c->Top);
    EXPECT_EQ(all->bottom, ground.bottom);
    EXPECT_EQ(all->right, std::max(ground.right, label.Above ? label.At.x + 40 : label.At.x + 80));
}

} // namespace
