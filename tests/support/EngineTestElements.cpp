#include "support/EngineTestElements.h"

#include <cmath>
#include <new>
#include <utility>
#include <stdexcept>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/FormDescription.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/TestElements.h"

namespace {

TPicture Box(int w, int h) { return TestBoxPicture(w, h); }

TMatrix M(int y, int x, std::initializer_list<double> v) {
    TMatrix m(y, x);
    int i = 0;
    for (double d : v) m.At(i++) = d;
    return m;
}

const ParamDef IntegratorParams[] = {{"Начальное условие", "IC", nullptr, 0, 0, 0}, {}};
const ParamDef GainParams[] = {{"Коэффициент", "K", nullptr, 1, 0, 0}, {}};
const ParamDef ThrowingParams[] = {
    {"Время сбоя", "At", nullptr, 0, 0, 0}, {"Вид сбоя", "Kind", nullptr, 0, 0, 0}, {}};

const TBranchRecord CVBranches[] = {
    {PinTerminal("Minus"), PinTerminal("Plus"), ConstValue(100), ConstValue(0), ConstValue(0)},
    EndRecord(),
};
const TBranchRecord CCBranches[] = {
    {PinTerminal("Plus"), PinTerminal("Minus"), ConstValue(0), ConstValue(0), ConstValue(0)},
    EndRecord(),
};
const TBranchRecord InternalBranches[] = {
    {PinTerminal("Connector1"), InternalNode(0), ConstValue(1), ConstValue(0), ConstValue(0)},
    {InternalNode(0), InternalNode(1), ConstValue(1), ConstValue(0), ConstValue(0)},
    {InternalNode(1), PinTerminal("Connector2"), ConstValue(1), ConstValue(0), ConstValue(0)},
    EndRecord(),
};

const TBranchRecord WobbleBranches[] = {
    {PinTerminal("Connector1"), PinTerminal("Connector2"), ConstValue(1), ConstValue(0),
     LiveValue(&MemberGetter<TTestWobble, &TTestWobble::Current>)},
    EndRecord(),
};

const TBranchRecord AffineBranches[] = {
    {PinTerminal("Connector1"), PinTerminal("Connector2"),
     StepValue(&MemberGetter<TTestAffine, &TTestAffine::Conductance>),
     AffineValue(&MemberGetter<TTestAffine, &TTestAffine::Emf>, &MemberSlopes<TTestAffine, &TTestAffine::Slopes>),
     ConstValue(0)},
    EndRecord(),
};

const bool forms = [] {
    RegisterForm({"TTestSecondOrder", {O("Output", 48, 6), I("Input", 0, 6)}, Box(60, 26), 0, 0});
    RegisterForm({"TTestIntegrator", {O("Output", 48, 6), I("Input", 0, 6)}, Box(60, 26), 0, 0});
    RegisterForm({"TTestThreeInputs", {O("Output", 40, 12), I("Input", 0, 0), I("Input2", 0, 12), I("Input3", 0, 24)},
                  Box(52, 36), 0, 0});
    RegisterForm({"TTestGain", {O("Output", 48, 6), I("Input", 0, 6)}, Box(60, 26), 0, 0});
    RegisterForm({"TTestConst", {O("Output", 38, 6)}, Box(40, 26), 0, 0});
    RegisterForm({"TTestThrowing", {O("Output", 38, 6)}, Box(40, 26), 0, 0});
    RegisterForm({"TTestProbe", {I("Input", 0, 6)}, Box(40, 26), 0, 0});
    RegisterForm({"TTestSensor", {E("Plus", 8, 2), E("Minus", 8, 42), O("InfoOutput1", 19, 17)}, Box(32, 52), 0, 0});
    RegisterForm({"TTestCV", {E("Plus", 19, 0), E("Minus", 19, 46), I("Input", 0, 20)}, Box(40, 54), 0, 0});
    RegisterForm({"TTestCC", {E("Plus", 19, 0), E("Minus", 19, 46), I("Input", 0, 20)}, Box(40, 54), 0, 0});
    RegisterForm({"TTestInternal", {E("Connector1", 0, 4), E("Connector2", 60, 4)}, Box(68, 16), 0, 0});
    RegisterForm({"TTestWobble", {E("Connector1", 0, 4), E("Connector2", 60, 4)}, Box(68, 16), 0, 0});
    RegisterForm({"TTestAffine", {E("Connector1", 0, 4), E("Connector2", 60, 4)}, Box(68, 16), 0, 0});
    RegisterForm({"TTestTwoOutputs", {O("Output", 38, 0), O("Output2", 38, 14)}, Box(50, 26), 0, 0});
    return true;
}();

} // namespace

TMatrix TTestSecondOrder::GetA() { return M(2, 2, {0, 1, -2, -3}); }
TMatrix TTestSecondOrder::GetB() { return M(2, 1, {0, 1}); }
TMatrix TTestSecondOrder::GetC() { return M(1, 2, {1, 0}); }
TMatrix TTestSecondOrder::GetD() { return M(1, 1, {0.5}); }

TTestIntegrator::TTestIntegrator(Schematic& sheet) : TDynamic(sheet) { RefParamDefs = IntegratorParams; }
TMatrix TTestIntegrator::GetA() { return M(1, 1, {0}); }
TMatrix TTestIntegrator::GetB() { return M(1, 1, {1}); }
TMatrix TTestIntegrator::GetC() { return M(1, 1, {1}); }
TMatrix TTestIntegrator::GetD() { return M(1, 1, {0}); }

TValue TTestThreeInputs::GetOutput() {
    return TValue(this, &MemberGetter<TTestThreeInputs, &TTestThreeInputs::Weighted>);
}

TTestGain::TTestGain(Schematic& sheet) : TStatic(sheet) { RefParamDefs = GainParams; }
TValue TTestGain::GetOutput() { return TValue(this, &MemberGetter<TTestGain, &TTestGain::Out>); }

TTestConst::TTestConst(Schematic& sheet) : TProducer(sheet) { RefParamDefs = GainParams; }
TValue TTestConst::GetOutput() { return TValue(this, &MemberGetter<TTestConst, &TTestConst::Out>); }

TTestSensor::TTestSensor(Schematic& sheet) : TBaseElement(sheet) { sheet.VoltageSummators.Add(this); }
TTestSensor::~TTestSensor() { Sheet().VoltageSummators.Remove(this); }

TTestCV::TTestCV(Schematic& sheet) : TBaseElement(sheet) { sheet.ControlledVoltages.Add(this); }
TTestCV::~TTestCV() { Sheet().ControlledVoltages.Remove(this); }
const TBranchRecord* TTestCV::GetCircuitModel() const { return CVBranches; }

TTestCC::TTestCC(Schematic& sheet) : TBaseElement(sheet) { sheet.ControlledCurrents.Add(this); }
TTestCC::~TTestCC() { Sheet().ControlledCurrents.Remove(this); }
const TBranchRecord* TTestCC::GetCircuitModel() const { return CCBranches; }

const TBranchRecord* TTestInternal::GetCircuitModel() const { return InternalBranches; }

const TBranchRecord* TTestAffine::GetCircuitModel() const { return AffineBranches; }

void TTestAffine::DeclareLiveReads(TLiveReads& reads) const {
    reads.Pins = {FindConnector("Connector1"), FindConnector("Connector2")};
}

void TTestAffine::BeginStep() {
    Begun.emplace_back(Sheet().Run().Time, FindConnector("Connector1")->GetPhi());
}

void TTestAffine::ResetState() {
    Begun.clear();
    ReadBeforeBegin = false;
}

double TTestAffine::Emf() {
    if (Begun.empty() || Begun.back().first != Sheet().Run().Time) ReadBeforeBegin = true;
    const double u = FindConnector("Connector2")->GetPhi() - FindConnector("Connector1")->GetPhi();
    const double t = Sheet().Run().Time;
    return AlphaAt(t) * u + Beta * std::sin(2 * M_PI * 50 * t);
}

double TTestAffine::AlphaAt(double t) const {
    return Alpha * (1 + Swing * std::sin(2 * M_PI * 50 * t));
}

int TTestAffine::Slopes(TNodeSlope* out) {
    const double alpha = StatedGain * AlphaAt(Sheet().Run().Time);
    int n = 0;
    for (const auto& [pin, sign] : {std::pair{"Connector2", 1.0}, std::pair{"Connector1", -1.0}})
        if (const TConnector* c = FindConnector(pin); c->IsConnected()) out[n++] = {c->FSimNode, sign * alpha};
    if (StrayNode >= 0) out[n++] = {StrayNode, 0.25};
    return n;
}

REGISTER_ELEMENT(TTestSecondOrder, TDynamic);
REGISTER_ELEMENT(TTestIntegrator, TDynamic);
REGISTER_ELEMENT(TTestThreeInputs, TStatic);
REGISTER_ELEMENT(TTestGain, TStatic);
REGISTER_ELEMENT(TTestConst, TProducer);
REGISTER_ELEMENT(TTestProbe, TConsumer);
REGISTER_ELEMENT(TTestSensor, TBaseElement);
REGISTER_ELEMENT(TTestCV, TBaseElement);
REGISTER_ELEMENT(TTestCC, TBaseElement);
REGISTER_ELEMENT(TTestInternal, TBaseElement);
const TBranchRecord* TTestWobble::GetCircuitModel() const { return WobbleBranches; }

REGISTER_ELEMENT(TTestWobble, TBaseElement);
REGISTER_ELEMENT(TTestAffine, TBaseElement);
REGISTER_ELEMENT(TTestTwoOutputs, TProducer);
REGISTER_ELEMENT(TTestThrowing, TProducer);
TTestThrowing::TTestThrowing(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = ThrowingParams;
}
TValue TTestThrowing::GetOutput() {
    return TValue(this, &MemberGetter<TTestThrowing, &TTestThrowing::Out>);
}
double TTestThrowing::Out() {
    if (Sheet().Run().Time >= ParamOf("At")) {
        if (ParamOf("Kind") == 0) throw std::bad_alloc();
        throw std::runtime_error("проба");
    }
    return 1.0;
}

