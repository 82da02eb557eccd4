// Time loop benchmarks: the RC circuit and resistor-capacitor ladders.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "support/DenseOracle.h"

namespace {

TBaseElement* Place(Schematic& sheet, const char* cls, const char* pin, TPoint at, int angle = 0) {
    TBaseElement* e = CreateElementByName(sheet, cls);
    if (angle) e->SetAngle(angle);
    const TControl* c = e->FindChild(pin);
    e->Left = at.x - (c->Left + c->Width / 2);
    e->Top = at.y - (c->Top + c->Height / 2);
    return e;
}

// A wire dragged from the pin and released at `to`, as in the editor.
void Drag(TBaseElement* e, const char* pin, TPoint to) {
    TConnector* c = e->FindConnector(pin);
    c->MouseDown(TMouseButton::Left, false, c->GetLink());
    c->MouseMove(to);
    c->MouseUp(TMouseButton::Left, false, to);
}

TPoint PinAt(TBaseElement* e, const char* pin) { return e->FindConnector(pin)->GetLink(); }

// A 12 V source (0.01 Ω inside) feeding `sections` sections of 1 kΩ in
// series with 1 µF to ground; with one section it is the RC circuit.
std::unique_ptr<Schematic> Ladder(int sections) {
    auto sheet = std::make_unique<Schematic>();
    Schematic& s = *sheet;
    auto* vs = Place(s, "TVoltageSource", "Plus", {120, 100});
    auto* g0 = Place(s, "TGround", "Connector", {120, 200});
    Drag(vs, "Minus", PinAt(g0, "Connector"));
    TBaseElement* previous = vs;
    const char* previousPin = "Plus";
    std::vector<TBaseElement*> pendingTap;
    for (int k = 0; k < sections; ++k) {
        const int x = 200 + 100 * k;
        auto* r = Place(s, "TResistor", "Connector1", {x, 100});
        Drag(previous, previousPin, PinAt(r, "Connector1"));
        auto* c = Place(s, "TCapacitor", "Connector1", {x + 80, 130}, 90);
        auto* g = Place(s, "TGround", "Connector", {x + 80, 210});
        Drag(c, "Connector2", PinAt(g, "Connector"));
        previous = r;
        previousPin = "Connector2";
        if (k == sections - 1) Drag(c, "Connector1", PinAt(r, "Connector2"));
        else pendingTap.push_back(c);
    }
    // Taps onto the rail once the next resistor's wire is drawn.
    for (TBaseElement* c : pendingTap) {
        const TPoint p = PinAt(c, "Connector1");
        Drag(c, "Connector1", {p.x, 104});
    }
    return sheet;
}

// The literal dense algorithm on the same circuit, for the ratio.
void RunDense(benchmark::State& state, int sections, double T) {
    StderrMessages quiet;
    SetMessages(&quiet);
    auto sheet = Ladder(sections);
    sheet->SimModel().T = T;
    std::int64_t steps = 0;
    for (auto _ : state) {
        PrepareRun(*sheet, "");
        RunDenseOracle(*sheet);
        steps += std::int64_t(T / sheet->SimModel().h);
    }
    state.counters["time_per_step"] =
        benchmark::Counter(double(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    SetMessages(nullptr);
}

void RunOnce(benchmark::State& state, int sections, double T) {
    StderrMessages quiet;
    SetMessages(&quiet);
    auto sheet = Ladder(sections);
    TSimModel& m = sheet->SimModel();
    m.T = T;
    std::int64_t steps = 0, iterations = 0;
    for (auto _ : state) {
        if (!PrepareRun(*sheet, "")) {
            state.SkipWithError("the run did not start");
            return;
        }
        TRunOptions o;
        o.OutputDir = "";
        const TRunResult r = RunSimulation(*sheet, o);
        steps += r.Steps;
        iterations += r.Iterations;
    }
    state.counters["unknowns"] = double(m.Phi.size());
    state.counters["time_per_step"] =
        benchmark::Counter(double(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["newton_per_step"] = double(iterations) / double(steps);
    SetMessages(nullptr);
}

} // namespace

static void BM_RcCircuit(benchmark::State& state) { RunOnce(state, 1, 1.0); }
static void BM_Ladder10(benchmark::State& state) { RunOnce(state, 10, 1.0); }
static void BM_Ladder100(benchmark::State& state) { RunOnce(state, 100, 0.01); }
static void BM_Ladder1000(benchmark::State& state) { RunOnce(state, 1000, 2e-5); }

// The first 10 ms of each, fast and dense: the charging phase, where every
// step needs Newton iterations.
static void BM_RcCircuit10ms(benchmark::State& state) { RunOnce(state, 1, 0.01); }
static void BM_RcCircuit10msDense(benchmark::State& state) { RunDense(state, 1, 0.01); }
static void BM_Ladder10_10ms(benchmark::State& state) { RunOnce(state, 10, 0.01); }
static void BM_Ladder10_10msDense(benchmark::State& state) { RunDense(state, 10, 0.01); }

BENCHMARK(BM_RcCircuit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RcCircuit10ms)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RcCircuit10msDense)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ladder10_10ms)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ladder10_10msDense)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ladder10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ladder100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ladder1000)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
