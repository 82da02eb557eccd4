#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "params/IniFile.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

constexpr double Vcc = 12.0, Rc = 50.0, Rb = 100.0, Rinternal = 0.01;
constexpr double Slope = 10.0; // V/s of the base drive

TPoint PinAt(TBaseElement* e, const char* pin) {
    return e->FindConnector(pin)->GetLink();
}

// A common-emitter stage with the transistor's default parameters
// (BF = 4, Icbo = 1 µA, Uкэнас = 1 V, 5 A): a ramp of 10 V/s drives the
// base through 100 Ω by a controlled EMF; 12 V feed the collector through
// 50 Ω. Plotted: the collector and the base voltages.
void BuildCommonEmitter(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TRunSettings& m = sheet.RunSettings;
    m.T = 1.0;
    m.h = 1e-3;
    m.GS = 0.01;
    auto* q = b.Place("TBipolarNPN", "Base", {300, 200});
    auto* rb = b.Place("TResistor", "Connector2", {240, 200});
    ExampleBuilder::Set(rb, "R", Rb, 0);
    auto* drive = b.Place("TControlledVoltage", "Plus", {140, 200});
    auto* ramp = b.PlaceBox("TRamp", 40, 300);
    ExampleBuilder::Set(ramp, "h", Slope);
    auto* rc = b.Place("TResistor", "Connector1", {336, 60}, 90);
    ExampleBuilder::Set(rc, "R", Rc, 0);
    auto* vcc = b.Place("TVoltageSource", "Plus", {460, 60});
    ExampleBuilder::Set(vcc, "E", Vcc);
    auto* collector = b.Place("TVoltageSummator", "Plus", {400, 150});
    auto* base = b.Place("TVoltageSummator", "Plus", {270, 250});
    const int ground = 330;
    auto* g1 = b.Place("TGround", "Connector", {140, ground});
    auto* g2 = b.Place("TGround", "Connector", {270, ground});
    auto* g3 = b.Place("TGround", "Connector", {336, ground});
    auto* g4 = b.Place("TGround", "Connector", {400, ground});
    auto* g5 = b.Place("TGround", "Connector", {460, ground});
    auto* collectorPlot = b.PlaceBox("TPlotter", 520, 120);
    auto* basePlot = b.PlaceBox("TPlotter", 520, 220);

    b.Drag(rb, "Connector2", PinAt(q, "Base"));
    b.Drag(drive, "Plus", PinAt(rb, "Connector1"));
    b.Drag(drive, "Minus", PinAt(g1, "Connector"));
    b.Drag(q, "Collector", PinAt(rc, "Connector2"));
    b.Drag(rc, "Connector1", PinAt(vcc, "Plus"));
    b.Drag(vcc, "Minus", PinAt(g5, "Connector"));
    b.Drag(q, "Emitter", PinAt(g3, "Connector"));
    b.Drag(collector, "Plus", {336, 150});
    b.Drag(collector, "Minus", PinAt(g4, "Connector"));
    b.Drag(base, "Plus", {270, 200});
    b.Drag(base, "Minus", PinAt(g2, "Connector"));
    b.Link(ramp, drive);
    b.Link(collector, collectorPlot);
    b.Link(base, basePlot);
}

const std::vector<ExampleGenerator> examples = {
    {"common_emitter.dvn", &BuildCommonEmitter},
};

TEST(TransistorExamples, GeneratorsReproduceTheCommittedFiles) {
    ExpectGeneratorsReproduce(examples);
}

// Reference values of a transistor, as the parameter rows hold them.
struct Device {
    double Unom = 10, Usat = 1, Inom = 5, BF = 4, Icbo = 1e-6, Tnom = 423, Twork = 398;
};

// The junction characteristic of the transistor model, written from its
// description: the exponential Is·(exp(v/(m·φт)) − 1) between Ulow and
// Usat, its chord to zero below Ulow = Usat/1000, its tangent above Usat,
// and a leakage conductance (reverse scale over Uкэном) in reverse.
struct Junction {
    double Is, reverseScale, Usat, Unom, mVt;
    double Exp(double v) const { return Is * (std::exp(v / mVt) - 1); }
    double I(double v) const {
        const double Ulow = 0.001 * Usat;
        if (v < 0) return v * reverseScale / Unom;
        if (v < Ulow) return v * Exp(Ulow) / Ulow;
        if (v <= Usat) return Exp(v);
        return Exp(Usat) + (v - Usat) * Is * std::exp(Usat / mVt) / mVt;
    }
};

struct StagePoint {
    double base, collector;
};

// The stage's three node equations (base, internal collector, collector)
// solved by Newton's method with a numerical Jacobian.
StagePoint SolveStage(const Device& d, double vin, StagePoint guess) {
    const double m = 1.5, BR = 1, BF = d.BF;
    const double mVt = m * 1.38e-23 * d.Twork / 1.6e-19;
    const double isC = std::pow(2.0, (d.Twork - d.Tnom) / 24.5) * (BF + 1) * d.Icbo / (BF + 1 + BR);
    const Junction jc{isC, d.Icbo, d.Usat, d.Unom, mVt};
    const Junction je{isC * BR / BF, d.Icbo * BR / BF * (BF + 1) / (BR + 1), d.Usat, d.Unom, mVt};
    // Uкэнас less ln((BR + 1)/BR)·m·φт, over the rated current.
    const double Rs = (d.Usat - std::log((BR + 1) / BR) * mVt) / d.Inom;
    const double rb = Rb + Rinternal, rc = Rc + Rinternal;
    auto F = [&](const double x[3], double f[3]) {
        const double iE = je.I(x[0]), iC = jc.I(x[0] - x[1]);
        f[0] = (vin - x[0]) / rb - iE - iC;
        f[1] = iC + (x[2] - x[1]) / Rs - (BF * iE - BR * iC);
        f[2] = (Vcc - x[2]) / rc - (x[2] - x[1]) / Rs;
    };
    double x[3] = {guess.base, guess.collector, guess.collector};
    for (int it = 0; it < 500; ++it) {
        double f[3], J[3][3];
        F(x, f);
        for (int c = 0; c < 3; ++c) {
            double xp[3] = {x[0], x[1], x[2]}, fp[3];
            const double h = 1e-7 * (1 + std::abs(x[c]));
            xp[c] += h;
            F(xp, fp);
            for (int r = 0; r < 3; ++r)
                J[r][c] = (fp[r] - f[r]) / h;
        }
        // Gaussian elimination with partial pivoting of J·dx = −f.
        double rhs[3] = {-f[0], -f[1], -f[2]}, dx[3];
        for (int c = 0; c < 3; ++c) {
            int p = c;
            for (int r = c + 1; r < 3; ++r)
                if (std::abs(J[r][c]) > std::abs(J[p][c])) p = r;
            std::swap(J[c], J[p]);
            std::swap(rhs[c], rhs[p]);
            for (int r = c + 1; r < 3; ++r) {
                const double k = J[r][c] / J[c][c];
                for (int cc = c; cc < 3; ++cc)
                    J[r][cc] -= k * J[c][cc];
                rhs[r] -= k * rhs[c];
            }
        }
        for (int r = 2; r >= 0; --r) {
            double s = rhs[r];
            for (int cc = r + 1; cc < 3; ++cc)
                s -= J[r][cc] * dx[cc];
            dx[r] = s / J[r][r];
        }
        // Damped: the exponential overshoots from a poor guess.
        double step = 1;
        for (double v : dx)
            step = std::min(step, 0.1 / (std::abs(v) + 1e-300));
        for (int r = 0; r < 3; ++r)
            x[r] += step * dx[r];
        if (std::abs(dx[0]) + std::abs(dx[1]) + std::abs(dx[2]) < 1e-13) break;
    }
    return {x[0], x[2]};
}

// Compares a run's collector and base voltages with the reference solution
// point by point, within 1 % (and the four decimals of graf.dat).
void ExpectStageFollowsReference(const std::vector<std::vector<double>>& rows, const Device& d,
                                 const std::string& what) {
    StagePoint guess{0, Vcc};
    bool sawActive = false, sawSaturation = false;
    for (const auto& row : rows) {
        const double t = row[0];
        const StagePoint ref = SolveStage(d, Slope * t, guess);
        guess = ref;
        EXPECT_NEAR(row[1], ref.collector, 0.01 * std::abs(ref.collector) + 2e-4)
            << what << ", t = " << t;
        EXPECT_NEAR(row[2], ref.base, 0.01 * std::abs(ref.base) + 2e-4) << what << ", t = " << t;
        sawActive = sawActive || (ref.collector > 2 && ref.collector < 10);
        sawSaturation = sawSaturation || ref.collector < 1.2;
    }
    // The ramp sweeps the stage from cut-off through the active region
    // into saturation.
    EXPECT_NEAR(rows.front()[1], Vcc, 1e-3) << what;
    EXPECT_TRUE(sawActive) << what;
    EXPECT_TRUE(sawSaturation) << what;
}

TEST(TransistorExamples, CommonEmitterTransferFollowsTheEbersMollEquations) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("common_emitter.dvn", 2);
    ASSERT_EQ(rows.size(), 100u);
    ExpectStageFollowsReference(rows, Device{}, "defaults");
    EXPECT_TRUE(messages.Entries.empty());
}

// Every shipped transistor in the same stage.
TEST(TransistorExamples, EveryShippedTransistorRunsInTheStage) {
    TempDir dir;
    ScopedEnv env("QUENTOR_DB_DIR", dir.Path().string());
    const std::string db = std::string(QUENTOR_SOURCE_DIR) + "/data/Bip_NPN.edb";
    std::filesystem::copy_file(db, dir.File("Bip_NPN.edb"));
    RecordingMessages messages;
    const TIniFile file(db);
    ASSERT_GE(file.Sections().size(), 2u);
    for (const std::string& type : file.Sections()) {
        Schematic sheet;
        ASSERT_EQ(LoadSchematic(sheet, ExamplePath("common_emitter.dvn")), TLoadResult::Loaded);
        TBaseElement* q = nullptr;
        for (TBaseElement* e : sheet.Elements)
            if (e->ClassName() == "TBipolarNPN") q = e;
        ASSERT_NE(q, nullptr);
        ASSERT_TRUE(q->LoadDeviceType(type)) << type;
        ASSERT_TRUE(q->CalcModelParams());
        const Device d{q->ParamOf("Uкэном"), q->ParamOf("Uкэнас"), q->ParamOf("Iкном"),
                       q->ParamOf("Bном"),   q->ParamOf("Iкбо"),   q->ParamOf("Tпном"),
                       q->ParamOf("Tпраб")};
        TempDir out;
        TRunContext context(sheet, out.Path().string());
        ASSERT_TRUE(PrepareRun(context)) << type;
        TRunOptions o;
        o.MaxIterations = 100;
        const TRunResult r = RunSimulation(context, o);
        ASSERT_EQ(r.Status, TRunResult::Outcome::Finished) << type << ": " << r.Message;
        std::vector<std::vector<double>> rows;
        for (const auto& row : ReadGrafDat(out.File("graf.dat")))
            rows.push_back({row[0], row[row.size() - 2], row[row.size() - 1]});
        ASSERT_EQ(rows.size(), 100u);
        ExpectStageFollowsReference(rows, d, type);
    }
    EXPECT_TRUE(messages.Entries.empty()) << messages.Entries.front().Text;
}

} // namespace
