#include <gtest/gtest.h>

#include "support/BoundModel.h"
#include "Simulation/SimModel.h"
#include "blocks/TGain.h"
#include "blocks/TIntegrator.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"

namespace {

double Only(const TMatrix& m) {
    EXPECT_EQ(m.ysize, 1);
    EXPECT_EQ(m.xsize, 1);
    return m(0, 0).Value();
}

TEST(Integrator, OneStateIntegratingItsInput) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* integrator = static_cast<TIntegrator*>(CreateElementByName(sheet, "TIntegrator"));
    ASSERT_NE(integrator->RefParamDefs, nullptr);
    EXPECT_STREQ(integrator->RefParamDefs[0].Name, "IC");
    EXPECT_STREQ(integrator->RefParamDefs[0].Description, "Начальное условие");
    EXPECT_EQ(integrator->RefParamDefs[0].Units, nullptr);
    EXPECT_EQ(integrator->ParamOf("IC"), 0.0);
    EXPECT_EQ(integrator->GetOrder(), 1);
    EXPECT_EQ(Only(integrator->GetA()), 0.0);
    EXPECT_EQ(Only(integrator->GetB()), 1.0);
    EXPECT_EQ(Only(integrator->GetC()), 1.0);
    EXPECT_EQ(Only(integrator->GetD()), 0.0);
}

TEST(Integrator, InitialStateIsTheParameterAtTheTimeOfAsking) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* integrator = static_cast<TIntegrator*>(CreateElementByName(sheet, "TIntegrator"));
    integrator->FindParam("IC")->Value = 3;
    EXPECT_EQ(integrator->GetInitialState(0), 3.0);
    integrator->FindParam("IC")->Value = -0.5;
    EXPECT_EQ(integrator->GetInitialState(0), -0.5);
}

TEST(Gain, OutputIsTheFactorTimesTheInput) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* gain = static_cast<TGain*>(CreateElementByName(sheet, "TGain"));
    ASSERT_NE(gain->RefParamDefs, nullptr);
    EXPECT_STREQ(gain->RefParamDefs[0].Name, "K");
    EXPECT_STREQ(gain->RefParamDefs[0].Description, "Значение коэффициента");
    EXPECT_EQ(gain->ParamOf("K"), 1.0);
    gain->FindParam("K")->Value = 2;
    gain->ResetState();
    EXPECT_EQ(gain->K, 2.0);
    const TValue out = gain->GetOutput();
    ASSERT_TRUE(out.IsDynamic());
    gain->FInputBase = 1;
    sheet.Run().StaticInputs = {100.0, 1.25};
    EXPECT_EQ(out.Value(), 2.5);
    sheet.Run().StaticInputs[1] = -4;
    EXPECT_EQ(out.Value(), -8.0);
}

TEST(Gain, WorkingFactorChangesOnlyAtReset) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* gain = static_cast<TGain*>(CreateElementByName(sheet, "TGain"));
    gain->ResetState();
    const TValue out = gain->GetOutput();
    sheet.Run().StaticInputs = {3.0};
    gain->FindParam("K")->Value = 10;
    EXPECT_EQ(out.Value(), 3.0);
    gain->ResetState();
    EXPECT_EQ(out.Value(), 30.0);
}

} // namespace
