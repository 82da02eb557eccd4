// The transfer-function dialog's logic: the texts it opens with, what
// "&Принять" stores, the refused denominator, and the way through the file.
#include <gtest/gtest.h>

#include "app/SchematicFile.h"
#include "blocks/TFParamsController.h"
#include "blocks/TTransferFunction.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

namespace {

using V = std::vector<double>;

TTransferFunction* NewBlock(Schematic& sheet) {
    return static_cast<TTransferFunction*>(CreateElementByName(sheet, "TTransferFunction"));
}

TEST(TFParamsDialog, OpensWithTheBlocksValues) {
    Schematic sheet;
    TTransferFunction* tf = NewBlock(sheet);
    TTFParamsController fresh(*tf);
    EXPECT_EQ(fresh.FactorText, "1");
    EXPECT_EQ(fresh.NumeratorText, "1");
    EXPECT_EQ(fresh.DenominatorText, "1 1");
    EXPECT_EQ(fresh.ICText, "");

    tf->K = -2.5e-7;
    tf->Num = {0.5, -3};
    tf->Den = {1, 0.25, 1e20};
    tf->IC = {4};
    TTFParamsController c(*tf);
    EXPECT_EQ(c.FactorText, "-2.5E-7");
    EXPECT_EQ(c.NumeratorText, "0.5 -3");
    EXPECT_EQ(c.DenominatorText, "1 0.25 1E20");
    EXPECT_EQ(c.ICText, "4");
}

TEST(TFParamsDialog, AcceptingStoresTheNormalForm) {
    RecordingMessages messages;
    Schematic sheet;
    TTransferFunction* tf = NewBlock(sheet);
    TTFParamsController c(*tf);
    c.FactorText = " 2.5";
    c.NumeratorText = "1 2 3";
    c.DenominatorText = "0  0 2 4";
    c.ICText = "5 6 7 8";
    ASSERT_TRUE(c.Accept());
    EXPECT_EQ(tf->K, 2.5);
    EXPECT_EQ(tf->Num, (V{2, 3})); // cut to the denominator's length
    EXPECT_EQ(tf->Den, (V{2, 4}));
    EXPECT_EQ(tf->IC, (V{5, 6}));
    EXPECT_EQ(tf->GetOrder(), 1);
    // D = K·b'0/a0 = 2.5·2/2.
    EXPECT_DOUBLE_EQ(tf->GetD()(0, 0).Value(), 2.5);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST(TFParamsDialog, TextsThatAreNotNumbersReadAsZeros) {
    RecordingMessages messages;
    Schematic sheet;
    TTransferFunction* tf = NewBlock(sheet);
    TTFParamsController c(*tf);
    c.FactorText = "abc";
    c.NumeratorText = "x y";
    c.ICText = "1 q 3";
    ASSERT_TRUE(c.Accept());
    EXPECT_EQ(tf->K, 0.0);
    EXPECT_TRUE(tf->Num.empty()); // two leading zeros dropped
    EXPECT_EQ(tf->IC, (V{1, 0})); // reading stops at "q", the rest stays 0
}

TEST(TFParamsDialog, AnEmptyOrZeroDenominatorIsRefusedNamingTheBlock) {
    RecordingMessages messages;
    Schematic sheet;
    NewBlock(sheet);
    TTransferFunction* tf = NewBlock(sheet);
    tf->Den = {1, 3, 2};
    TTFParamsController c(*tf);
    c.FactorText = "7";
    c.NumeratorText = "4";
    c.ICText = "1";
    for (const char* den : {"", "   ", "0 0", "0 abc"}) {
        c.DenominatorText = den;
        EXPECT_FALSE(c.Accept()) << den;
    }
    EXPECT_EQ(tf->K, 1.0);
    EXPECT_EQ(tf->Num, V{1});
    EXPECT_EQ(tf->Den, (V{1, 3, 2}));
    EXPECT_TRUE(tf->IC.empty());
    ASSERT_EQ(messages.Entries.size(), 4u);
    EXPECT_EQ(messages.Entries[0].Kind, "error");
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент TransferFunction №1: знаменатель передаточной функции пуст или состоит "
              "из нулей. Оставлен прежний знаменатель \"1 3 2\".");

    // The dialog stays open; a usable denominator then goes through.
    c.DenominatorText = "0 1 0.5";
    ASSERT_TRUE(c.Accept());
    EXPECT_EQ(tf->Den, (V{1, 0.5}));
    EXPECT_EQ(tf->K, 7.0);
}

TEST(TFParamsDialog, ValuesGoThroughTheSchematicFile) {
    RecordingMessages messages;
    TempDir dir;
    const std::string path = dir.File("tf.dvn");
    {
        Schematic sheet;
        TTransferFunction* tf = NewBlock(sheet);
        TTFParamsController c(*tf);
        c.FactorText = "-0.125";
        c.NumeratorText = "0 3 1E-3";
        c.DenominatorText = "0.5 2 8";
        c.ICText = "0.25 -1 9 4";
        ASSERT_TRUE(c.Accept());
        ASSERT_TRUE(SaveSchematic(sheet, path));
    }
    Schematic sheet;
    ASSERT_EQ(LoadSchematic(sheet, path), TLoadResult::Loaded);
    ASSERT_EQ(sheet.Elements.Count(), 1);
    auto* tf = dynamic_cast<TTransferFunction*>(sheet.Elements[0]);
    ASSERT_NE(tf, nullptr);
    EXPECT_EQ(tf->K, -0.125);
    EXPECT_EQ(tf->Num, (V{3, 1e-3}));
    EXPECT_EQ(tf->Den, (V{0.5, 2, 8}));
    EXPECT_EQ(tf->IC, (V{0.25, -1, 9}));
    // The steady-state gain G(0) = K·b1/a2 from the realisation: D − C·A⁻¹·B.
    const TMatrix A = tf->GetA(), B = tf->GetB(), C = tf->GetC(), D = tf->GetD();
    const double a = A(0, 0), b = A(0, 1), c = A(1, 0), d = A(1, 1);
    const double det = a * d - b * c;
    const double x0 = (d * B(0, 0) - b * B(1, 0)) / det;
    const double x1 = (-c * B(0, 0) + a * B(1, 0)) / det;
    const double gain = D(0, 0) - (C(0, 0) * x0 + C(0, 1) * x1);
    EXPECT_NEAR(gain, -0.125 * 1e-3 / 8, 1e-15);
    // The dialog opened on the loaded block shows what was accepted.
    TTFParamsController again(*tf);
    EXPECT_EQ(again.NumeratorText, "3 0.001");
    EXPECT_EQ(again.ICText, "0.25 -1 9");
    EXPECT_TRUE(messages.Entries.empty());
}

} // namespace
