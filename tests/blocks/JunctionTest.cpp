#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "StaticFeed.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/SignalLink.h"
#include "model/TInfoConnector.h"
#include "support/BoundModel.h"
#include "support/RecordingMessages.h"
#include "support/TestElements.h"

namespace {

TStatic* NewJunction(Schematic& sheet, const char* cls) {
    TStatic* j = NewStatic<TStatic>(sheet, cls);
    j->Left = 300;
    j->Top = 200;
    return j;
}

TEST(Junctions, SumProductAndQuotient) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    TStatic* sum = NewJunction(sheet, "TSummingJunction");
    TStatic* product = NewJunction(sheet, "TMultiplyingJunction");
    sum->AddInput();
    product->AddInput();
    EXPECT_EQ(OutputFor(*sum, {1.5, -4.0, 0.25}), -2.25);
    EXPECT_EQ(OutputFor(*product, {1.5, -4.0, 0.25}), -1.5);
    EXPECT_EQ(OutputFor(*product, {0.0, 0.0, 0.0}), 0.0);
    TStatic* divider = NewJunction(sheet, "TDivideningJunction");
    EXPECT_EQ(OutputFor(*divider, {0.0, 0.0}), 0.0);
    EXPECT_DOUBLE_EQ(OutputFor(*divider, {1.0, 0.0}), 1000.0);
    EXPECT_DOUBLE_EQ(OutputFor(*divider, {3.0, 0.999}), 3.0);
    EXPECT_TRUE(std::isinf(OutputFor(*divider, {1.0, -0.001})));
    EXPECT_TRUE(std::isnan(OutputFor(*divider, {0.0, -0.001})));
}

// Pin tops of the inputs, the output's vertical centre and the body height.
struct Layout {
    std::vector<int> inputTops;
    int outputCentre;
    int bodyTop, bodyHeight, height;
};

Layout LayoutOf(const TStatic& j) {
    Layout l;
    for (const TInfoInput* in : j.FInputs)
        l.inputTops.push_back(in->Top);
    l.outputCentre = j.Output->Top + j.Output->Height / 2;
    l.bodyTop = j.Image()->Top;
    l.bodyHeight = j.Image()->Height;
    l.height = j.Height;
    return l;
}

TEST(Junctions, EachAddedInputGrowsTheBlockByTwelvePixels) {
    for (const char* cls : {"TSummingJunction", "TMultiplyingJunction"}) {
        Schematic sheet;
        BoundModel boundsheet{sheet};  // what the blocks read outside a run
        TStatic* j = NewJunction(sheet, cls);
        const Layout two = LayoutOf(*j);
        j->AddInput();
        const Layout three = LayoutOf(*j);
        j->AddInput();
        const Layout four = LayoutOf(*j);
        ASSERT_EQ(four.inputTops.size(), 4u) << cls;
        for (int i = 1; i < 4; ++i)
            EXPECT_EQ(four.inputTops[i] - four.inputTops[i - 1], 12) << cls;
        EXPECT_EQ(four.height - three.height, 12);
        EXPECT_EQ(four.bodyHeight - three.bodyHeight, 12);
        // The two-input body keeps the form's height; the body stays put.
        EXPECT_EQ(three.bodyHeight, two.bodyHeight + 12);
        EXPECT_EQ(four.bodyTop, two.bodyTop);
        // The inputs lie on the body, the output and the sign in its middle.
        EXPECT_GE(four.inputTops.front(), four.bodyTop);
        EXPECT_LE(four.inputTops.back() + 12, four.bodyTop + four.bodyHeight);
        EXPECT_EQ(four.outputCentre, (four.inputTops.front() + four.inputTops.back() + 12) / 2);
        EXPECT_EQ(four.outputCentre, four.bodyTop + four.bodyHeight / 2);
        EXPECT_LE(four.bodyTop + four.bodyHeight, four.height);
        // The picture itself is redrawn to the new height.
        const TPicture& pic = j->Image()->Picture.Picture;
        EXPECT_EQ(pic.Height, four.bodyHeight);
        for (const TPrimitive& p : pic.Items) {
            if (p.Kind == TPrimitiveKind::Text)
                EXPECT_EQ(p.Points[0].y, four.bodyHeight / 2);
            else
                EXPECT_EQ(p.Points.back().y, four.bodyHeight - 1);
        }
        EXPECT_EQ(j->FInputs[2]->Left, j->FInputs[0]->Left);
    }
}

TEST(Junctions, LinksFollowTheInputsTheyFeed) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    TStatic* j = NewJunction(sheet, "TSummingJunction");
    TBaseElement* src = CreateElementByName(sheet, "TTestSource");
    src->Left = 100;
    src->Top = 100;
    TInfoInput* second = j->FInputs[1];
    second->SetSource(src->FOutputs[0]);
    j->AddInput();
    j->FInputs[2]->SetSource(src->FOutputs[0]);
    j->AddInput();
    for (TInfoInput* in : {second, j->FInputs[2]}) {
        ASSERT_TRUE(in->FConnection);
        ASSERT_FALSE(in->FConnection->Pieces.empty());
        EXPECT_EQ(in->FConnection->Pieces.back()->To.y, in->Centre().y);
    }
    // Deleting the first input moves the others up; their links follow.
    j->DeleteInput(j->FInputs[0]);
    EXPECT_EQ(second->FConnection->Pieces.back()->To.y, second->Centre().y);
    EXPECT_EQ(j->Input, second);
    EXPECT_EQ(j->FInputs.size(), 3u);
}

TEST(Junctions, DeletedInputsFreeTheirPinsAndNamesStayUnique) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    TStatic* j = NewJunction(sheet, "TMultiplyingJunction");
    j->AddInput();
    j->AddInput();
    const int inputsOnSheet = sheet.AllInputs.Count();
    j->DeleteInput(j->FInputs[2]);
    EXPECT_EQ(sheet.AllInputs.Count(), inputsOnSheet - 1);
    j->AddInput();
    std::vector<std::string> names;
    for (TInfoInput* in : j->FInputs)
        names.push_back(in->Name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
}

TEST(Junctions, TwoInputsStay) {
    RecordingMessages messages;
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    for (const char* cls : {"TSummingJunction", "TMultiplyingJunction", "TDivideningJunction"}) {
        TStatic* j = NewJunction(sheet, cls);
        const Layout before = LayoutOf(*j);
        j->DeleteInput(j->FInputs[1]);
        EXPECT_EQ(j->FInputs.size(), 2u) << cls;
        EXPECT_EQ(LayoutOf(*j).inputTops, before.inputTops);
    }
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>(3, "У этого блока нельзя удалять информационные входы."));
    messages.Clear();
    TStatic* divider = NewJunction(sheet, "TDivideningJunction");
    divider->AddInput();
    EXPECT_EQ(divider->FInputs.size(), 2u);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"К этому блоку нельзя добавить информационные входы."});
}

TEST(Junctions, TheInputCountTravelsInTheFile) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    TStatic* four = NewJunction(sheet, "TSummingJunction");
    four->AddInput();
    four->AddInput();
    TStatic* two = NewJunction(sheet, "TMultiplyingJunction");
    TBaseElement* src = CreateElementByName(sheet, "TTestSource");
    four->FInputs[3]->SetSource(src->FOutputs[0]);

    std::vector<std::string> record;
    four->SaveToStrings(record);
    ASSERT_EQ(record.size(), 1u);
    EXPECT_EQ(record[0], "SummingJunction:300,200,0,0,0#4");
    record.clear();
    two->SaveToStrings(record);
    EXPECT_EQ(record, std::vector<std::string>{"MultiplyingJunction:300,200,0,0,0"});

    const std::vector<std::string> lines = SchematicToLines(sheet);
    Schematic copy;
    ASSERT_EQ(LoadSchematicLines(copy, lines), TLoadResult::Loaded);
    auto* back = dynamic_cast<TStatic*>(copy.Elements[0]);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->FInputs.size(), 4u);
    EXPECT_EQ(LayoutOf(*back).inputTops, LayoutOf(*four).inputTops);
    EXPECT_EQ(back->Height, four->Height);
    EXPECT_TRUE(back->FInputs[3]->IsConnected());
    EXPECT_FALSE(back->FInputs[2]->IsConnected());
    EXPECT_EQ(dynamic_cast<TStatic*>(copy.Elements[1])->FInputs.size(), 2u);
    EXPECT_EQ(SchematicToLines(copy), lines);
}

TEST(Junctions, SelectionTurnsOutlineAndSignRed) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    for (const char* cls : {"TSummingJunction", "TMultiplyingJunction", "TDivideningJunction"}) {
        TStatic* j = NewJunction(sheet, cls);
        auto picture = [j] { return j->Image()->Primitives(); };
        j->SetSelected(true);
        int texts = 0;
        for (const TPrimitive& p : picture()) {
            if (p.Kind == TPrimitiveKind::Text) {
                ++texts;
                EXPECT_EQ(p.TextColor, clRed) << cls;
            } else {
                EXPECT_EQ(p.Pen.Color, clRed) << cls;
                EXPECT_EQ(p.Pen.Width, 2) << cls;
            }
        }
        EXPECT_EQ(texts, 1);
        j->SetSelected(false);
        for (const TPrimitive& p : picture()) {
            EXPECT_EQ(p.Kind == TPrimitiveKind::Text ? p.TextColor : p.Pen.Color, clBlack) << cls;
            EXPECT_EQ(p.Pen.Width, 1);
        }
    }
}

TEST(Junctions, ADamagedInputCountIsReportedAndAddsNothing) {
    for (const char* cls : {"TSummingJunction", "TMultiplyingJunction"}) {
        RecordingMessages messages;
        Schematic sheet;
        BoundModel boundsheet{sheet};  // what the blocks read outside a run
        TStatic* j = NewJunction(sheet, cls);
        const std::size_t inputs = j->FInputs.size();
        const std::vector<std::string> lines{"x", j->Name() + ":1,2,0,0,0#4x"};
        j->LoadFromStrings(":1,2,0,0,0#4x", lines, 1);
        EXPECT_EQ(j->FInputs.size(), inputs) << cls;
        EXPECT_EQ(messages.Texts(),
                  std::vector<std::string>{"Строка 2, элемент " + j->Name() +
                                           " №0, число входов: \"4x\" не является числом"})
            << cls;
        messages.Clear();
        j->LoadFromStrings(":1,2,0,0,0#4", lines, 1);
        EXPECT_EQ(j->FInputs.size(), 4u) << cls;
        EXPECT_TRUE(messages.Entries.empty()) << cls;
    }
}

} // namespace
