#include <gtest/gtest.h>

#include "blocks/BlockLabels.h"
#include "blocks/TConst.h"
#include "blocks/TGain.h"
#include "blocks/TTransferFunction.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/SignalLink.h"
#include "model/TInfoConnector.h"

namespace {

std::vector<std::string> Texts(const TBaseElement& e) {
    std::vector<std::string> out;
    for (const TPrimitive& p : e.Image()->Picture.Picture.Items)
        if (p.Kind == TPrimitiveKind::Text) out.push_back(p.Text);
    return out;
}

// The outline rectangle's right edge, in element coordinates.
int OutlineRight(const TBaseElement& e) {
    for (const TPrimitive& p : e.Image()->Picture.Picture.Items)
        if (p.Kind == TPrimitiveKind::Rectangle) return e.Image()->Left + p.Points[1].x;
    return -1;
}

TEST(LabelWidth, GrowsWithTheTextAndTheFontSize) {
    EXPECT_EQ(LabelTextWidth("", 12), 0);
    EXPECT_LT(LabelTextWidth("1", 12), LabelTextWidth("10", 12));
    EXPECT_LT(LabelTextWidth("1.5", 12), LabelTextWidth("12.5", 12));
    EXPECT_LT(LabelTextWidth("1", 11), LabelTextWidth("1", 20));
    // Never narrower than the face draws digits (about 0.64 em).
    EXPECT_GE(LabelTextWidth("0000000000", 10), 64);
}

TEST(LabelText, ParameterShownInItsPresentUnit) {
    const UnitDef units[] = {{"мс", 0.001}, {"с", 1}, {}};
    const ParamDef row{"Задержка", "t", units, 0, 0, 0};
    EXPECT_EQ(ParamDisplayText({0.25, 0, &row}), "250");
    EXPECT_EQ(ParamDisplayText({0.25, 1, &row}), "0.25");
    const ParamDef plain{"Коэффициент", "K", nullptr, 0, 0, 0};
    EXPECT_EQ(ParamDisplayText({-1e-7, 0, &plain}), "-1E-7");
}

// The defaults keep the form's layout: outline and output where the form put them.
TEST(ValueLabels, DefaultsShowOneInTheFormsOutline) {
    Schematic sheet;
    TBaseElement* gain = CreateElementByName(sheet, "TGain");
    TBaseElement* constant = CreateElementByName(sheet, "TConst");
    TBaseElement* tf = CreateElementByName(sheet, "TTransferFunction");
    EXPECT_EQ(Texts(*gain), std::vector<std::string>{"1"});
    EXPECT_EQ(Texts(*constant), std::vector<std::string>{"1"});
    EXPECT_EQ(Texts(*tf), (std::vector<std::string>{"1", "1", "1 1"}));
    for (TBaseElement* e : {gain, constant, tf}) {
        EXPECT_EQ(e->FOutputs[0]->Left, OutlineRight(*e)) << e->Name();
        EXPECT_EQ(e->Width, e->FOutputs[0]->Left + TInfoConnector::Size) << e->Name();
    }
    EXPECT_EQ(gain->FOutputs[0]->Left, 35);
    EXPECT_EQ(constant->FOutputs[0]->Left, 35);
    EXPECT_EQ(tf->FOutputs[0]->Left, 50);
}

TEST(ValueLabels, GainOutlineGrowsAndShrinksWithItsValue) {
    Schematic sheet;
    auto* gain = static_cast<TGain*>(CreateElementByName(sheet, "TGain"));
    const int height = gain->Height;
    const int outputTop = gain->FOutputs[0]->Top;
    const int inputLeft = gain->FInputs[0]->Left;
    gain->FindParam("K")->Value = -123.456789;
    gain->LayoutLabel();
    EXPECT_EQ(Texts(*gain), std::vector<std::string>{"-123.456789"});
    const int right = OutlineRight(*gain);
    EXPECT_GT(right - gain->Image()->Left, LabelTextWidth("-123.456789", 12));
    EXPECT_EQ(gain->FOutputs[0]->Left, right);
    EXPECT_EQ(gain->Width, right + TInfoConnector::Size);
    EXPECT_EQ(gain->FOutputs[0]->Top, outputTop);
    EXPECT_EQ(gain->FInputs[0]->Left, inputLeft);
    EXPECT_EQ(gain->Height, height);
    gain->FindParam("K")->Value = 2;
    gain->LayoutLabel();
    EXPECT_EQ(gain->FOutputs[0]->Left, 35);
    EXPECT_EQ(gain->Width, 47);
}

TEST(ValueLabels, LoadingARecordShowsTheLoadedValue) {
    Schematic sheet;
    TBaseElement* constant = CreateElementByName(sheet, "TConst");
    const std::vector<std::string> lines = {"Const:10,20,0,0,0", " K=1000000"};
    constant->LoadFromStrings(":10,20,0,0,0", lines, 0);
    EXPECT_EQ(Texts(*constant), std::vector<std::string>{"1000000"});
    EXPECT_EQ(constant->FOutputs[0]->Left, OutlineRight(*constant));
    EXPECT_GT(constant->FOutputs[0]->Left, 35);
}

TEST(ValueLabels, ParameterDialogChangeIsShownAfterEditing) {
    struct Host : TSheetHost {
        void EditElementParams(TBaseElement& e) override { e.FindParam("K")->Value = 0.125; }
    } host;
    Schematic sheet;
    sheet.Host = &host;
    TBaseElement* gain = CreateElementByName(sheet, "TGain");
    gain->EditParams();
    EXPECT_EQ(Texts(*gain), std::vector<std::string>{"0.125"});
    sheet.Host = nullptr;
}

TEST(ValueLabels, TransferFunctionShowsFactorNumeratorAndDenominator) {
    Schematic sheet;
    auto* tf = static_cast<TTransferFunction*>(CreateElementByName(sheet, "TTransferFunction"));
    ASSERT_TRUE(tf->SetCoefficients(2.5, {{1, 0.5}, {0.001, 1.5, 1, 20}, {}}));
    EXPECT_EQ(Texts(*tf), (std::vector<std::string>{"2.5", "1 0.5", "0.001 1.5 1 20"}));
    const int right = OutlineRight(*tf);
    EXPECT_GT(right, 50);
    EXPECT_EQ(tf->FOutputs[0]->Left, right);
    EXPECT_EQ(tf->Width, right + TInfoConnector::Size);
    // The fraction bar spans the wider of the two lists.
    for (const TPrimitive& p : tf->Image()->Picture.Picture.Items) {
        if (p.Kind == TPrimitiveKind::Line) {
            EXPECT_GE(p.Points[1].x - p.Points[0].x, LabelTextWidth("0.001 1.5 1 20", 11));
        }
    }
}

TEST(ValueLabels, LinksFollowTheMovedOutput) {
    Schematic sheet;
    auto* gain = static_cast<TGain*>(CreateElementByName(sheet, "TGain"));
    gain->Left = 100;
    gain->Top = 100;
    TBaseElement* target = CreateElementByName(sheet, "TPlotter");
    target->Left = 400;
    target->Top = 100;
    target->FInputs[0]->SetSource(gain->FOutputs[0]);
    const auto& pieces = target->FInputs[0]->FConnection->Pieces;
    ASSERT_FALSE(pieces.empty());
    const TPoint before = pieces.front()->From;
    gain->FindParam("K")->Value = 123456789;
    gain->LayoutLabel();
    ASSERT_FALSE(pieces.empty());
    EXPECT_EQ(pieces.front()->From, gain->FOutputs[0]->Centre());
    EXPECT_GT(pieces.front()->From.x, before.x);
}

TEST(ValueLabels, TurnedBlockKeepsTheRightEdgePinOnTheOutline) {
    Schematic sheet;
    auto* gain = static_cast<TGain*>(CreateElementByName(sheet, "TGain"));
    gain->SetAngle(180);
    gain->FindParam("K")->Value = 5000.5;
    gain->LayoutLabel();
    // Turned half round, the input is on the right and the output on the left.
    EXPECT_EQ(gain->FInputs[0]->Left, OutlineRight(*gain));
    EXPECT_EQ(gain->FOutputs[0]->Left, 0);
}

} // namespace
