#include <gtest/gtest.h>

#include "support/BoundModel.h"
#include "StaticFeed.h"
#include "blocks/Nonlinearities.h"
#include "model/Schematic.h"

namespace {

TEST(Nonlinearities, ParameterTablesInOrderWithDefaults) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    const struct {
        const char* cls;
        std::vector<std::string> names, descriptions;
        std::vector<double> defaults;
    } tables[] = {
        {"TLimit", {"H", "L"}, {"Верхний предел", "Нижний предел"}, {1, -1}},
        {"TDeadBand", {"L", "R"}, {"Левая зона", "Правая зона"}, {-1, 1}},
        {"TRelay", {"H", "L"}, {"Верхний предел", "Нижний предел"}, {1, -1}},
        {"TDeadLimit",
         {"ld", "rd", "hl", "ll"},
         {"Левая зона", "Правая зона", "Верхний предел", "Нижний предел"},
         {-1, 1, 1, -1}},
        {"TGisteresis",
         {"H_x", "L_x", "H_y", "L_y"},
         {"Верхний предел по X", "Нижний предел по X", "Верхний предел по Y", "Нижний предел по Y"},
         {1, -1, 1, -1}},
    };
    for (const auto& t : tables) {
        TBaseElement* e = CreateElementByName(sheet, t.cls);
        ASSERT_EQ(ParamRowCount(e->RefParamDefs), int(t.names.size())) << t.cls;
        for (std::size_t i = 0; i < t.names.size(); ++i) {
            const ParamDef& def = e->RefParamDefs[i];
            EXPECT_EQ(def.Name, t.names[i]) << t.cls;
            EXPECT_EQ(def.Description, t.descriptions[i]) << t.cls;
            EXPECT_EQ(def.DefaultValue, t.defaults[i]) << t.cls;
            EXPECT_EQ(def.Units, nullptr);
        }
        EXPECT_EQ(e->ModelParamDefs, nullptr);
        EXPECT_EQ(e->DbSection, nullptr);
    }
}

TEST(Nonlinearities, LimitAtAndBesideItsThresholds) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* b = NewStatic<TLimit>(sheet, "TLimit");
    EXPECT_EQ(OutputFor(*b, {1.0}), 1.0);
    EXPECT_EQ(OutputFor(*b, {1.0000001}), 1.0);
    EXPECT_EQ(OutputFor(*b, {0.3}), 0.3);
    EXPECT_EQ(OutputFor(*b, {-1.0}), -1.0);
    EXPECT_EQ(OutputFor(*b, {-7.0}), -1.0);
    // Working values come from the parameters at the start of a run.
    b->FindParam("H")->Value = 5;
    EXPECT_EQ(OutputFor(*b, {3.0}), 1.0);
    b->ResetState();
    EXPECT_EQ(OutputFor(*b, {3.0}), 3.0);
    EXPECT_EQ(OutputFor(*b, {6.0}), 5.0);
}

TEST(Nonlinearities, DeadBandPassesTheInputUnchangedOutsideTheZone) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* b = NewStatic<TDeadBand>(sheet, "TDeadBand");
    EXPECT_EQ(OutputFor(*b, {1.0}), 0.0);
    EXPECT_EQ(OutputFor(*b, {-1.0}), 0.0);
    EXPECT_EQ(OutputFor(*b, {0.2}), 0.0);
    EXPECT_EQ(OutputFor(*b, {1.1}), 1.1);
    EXPECT_EQ(OutputFor(*b, {-1.5}), -1.5);
}

TEST(Nonlinearities, RelaySwitchesAtZero) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* b = NewStatic<TRelay>(sheet, "TRelay");
    b->FindParam("H")->Value = 3;
    b->FindParam("L")->Value = -2;
    b->ResetState();
    EXPECT_EQ(OutputFor(*b, {0.0}), 3.0);
    EXPECT_EQ(OutputFor(*b, {-0.000001}), -2.0);
    EXPECT_EQ(OutputFor(*b, {100.0}), 3.0);
}

TEST(Nonlinearities, DeadBandWithSaturation) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* b = NewStatic<TDeadLimit>(sheet, "TDeadLimit");
    EXPECT_EQ(OutputFor(*b, {0.5}), 0.0);
    EXPECT_EQ(OutputFor(*b, {1.5}), 1.0);
    EXPECT_EQ(OutputFor(*b, {-3.0}), -1.0);
    b->FindParam("ld")->Value = -0.5;
    b->FindParam("rd")->Value = 0.5;
    b->FindParam("hl")->Value = 2;
    b->FindParam("ll")->Value = -2;
    b->ResetState();
    EXPECT_EQ(OutputFor(*b, {0.7}), 0.7);
    EXPECT_EQ(OutputFor(*b, {-0.5}), 0.0);
    EXPECT_EQ(OutputFor(*b, {2.5}), 2.0);
    // Crossed limits: the lower one is applied last and wins.
    b->FindParam("hl")->Value = -3;
    b->FindParam("ll")->Value = 4;
    b->ResetState();
    EXPECT_EQ(OutputFor(*b, {10.0}), 4.0);
    EXPECT_EQ(OutputFor(*b, {-10.0}), 4.0);
}

TEST(Hysteresis, ANewBlockStartsHigh) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* b = dynamic_cast<TGisteresis*>(CreateElementByName(sheet, "TGisteresis"));
    b->FInputBase = 0;
    EXPECT_EQ(b->LastOutput, 0.0);
    // The working values of a new block are the defaults.
    std::vector<double> out;
    for (double x : {0.0, 2.0, 0.0, -2.0, 0.0})
        out.push_back(OutputFor(*b, {x}));
    EXPECT_EQ(out, (std::vector<double>{1, 1, 1, -1, -1}));
}

TEST(Hysteresis, EveryRunStartsLow) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* b = NewStatic<TGisteresis>(sheet, "TGisteresis");
    std::vector<double> out;
    for (double x : {0.0, 2.0, 0.0, -2.0, 0.0})
        out.push_back(OutputFor(*b, {x}));
    EXPECT_EQ(out, (std::vector<double>{-1, 1, 1, -1, -1}));
    OutputFor(*b, {5.0});
    b->ResetState();
    EXPECT_EQ(b->LastOutput, -1.0);
    EXPECT_EQ(OutputFor(*b, {0.5}), -1.0);
}

TEST(Hysteresis, SwitchesAboveTheUpperAndAtTheLowerThreshold) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* b = NewStatic<TGisteresis>(sheet, "TGisteresis");
    b->FindParam("H_x")->Value = 0.5;
    b->FindParam("L_x")->Value = -0.5;
    b->FindParam("H_y")->Value = 10;
    b->FindParam("L_y")->Value = 2;
    b->ResetState();
    EXPECT_EQ(OutputFor(*b, {0.5}), 2.0); // not above H_x
    EXPECT_EQ(OutputFor(*b, {0.51}), 10.0);
    EXPECT_EQ(OutputFor(*b, {-0.49}), 10.0);
    EXPECT_EQ(OutputFor(*b, {-0.5}), 2.0); // at L_x it drops
    EXPECT_EQ(OutputFor(*b, {0.0}), 2.0);
}

} // namespace
