#include "elements/machines/TransformerRig.h"

#include <algorithm>
#include <cmath>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "elements/electrical/TAmper.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/CircuitBuilder.h"

namespace TransformerRig {

TRun RunTransformer(const char* cls, const std::function<void(TBaseElement*)>& setup, const TModelView& view,
         double E, double phi, double R, double T, double h) {
    Schematic sheet;
    CircuitBuilder b(sheet);
    TBaseElement* source = b.Add("TVoltageSin", 40, 100);
    CircuitBuilder::Set(source, "E", E);
    CircuitBuilder::Set(source, "w", Omega50);
    CircuitBuilder::Set(source, "phi", phi);
    TBaseElement* ammeter = b.Add("TAmper", 160, 40);
    TBaseElement* tr = b.Add(cls, 300, 100);
    TBaseElement* load = b.Add("TResistor", 600, 100);
    CircuitBuilder::Set(load, "R", R);
    setup(tr);
    b.Wire(CircuitBuilder::Pin(source, "Plus"), CircuitBuilder::Pin(ammeter, "Connector1"));
    b.Wire(CircuitBuilder::Pin(ammeter, "Connector2"), CircuitBuilder::Pin(tr, "z1"));
    b.Wire(CircuitBuilder::Pin(tr, "out"), CircuitBuilder::Pin(load, "Connector1"));
    b.Wire(CircuitBuilder::Pin(tr, "in"), CircuitBuilder::Pin(load, "Connector2"));
    const struct {
        TBaseElement* e;
        const char* pin;
        int x, y;
    } grounds[] = {{source, "Minus", 40, 300}, {tr, "z2", 300, 320}, {load, "Connector2", 600, 320}};
    for (const auto& g : grounds) {
        TBaseElement* ground = b.Add("TGround", g.x, g.y);
        if (g.e == load)
            b.WireToNode(CircuitBuilder::Pin(ground, "Connector"),
                         CircuitBuilder::Pin(load, "Connector2"));
        else
            b.Wire(CircuitBuilder::Pin(g.e, g.pin), CircuitBuilder::Pin(ground, "Connector"));
    }
    TRunSettings& m = sheet.RunSettings;
    m.T = T;
    m.h = h;
    m.GS = h;
    TRun r;
    TRunContext context(sheet, "");
    if (!PrepareRun(context)) return r;
    const TConnector* z1 = tr->FindConnector("z1");
    const TConnector* z2 = tr->FindConnector("z2");
    const TConnector* out = tr->FindConnector("out");
    const TConnector* in = tr->FindConnector("in");
    auto* amp = static_cast<TAmper*>(ammeter);
    const double period = 2 * Pi / Omega50;
    double last = 0, p1 = 0, pl = 0, span = 0, peak = 0, mismatch = 0;
    std::pair<double, double> before{0, 0};
    TRunOptions o;
    o.MaxIterations = 100;
    o.Sample = [&](double t, const std::vector<double>&) {
        const double dt = t - last;
        last = t;
        const double u1 = z1->GetPhi() - z2->GetPhi(), u2 = out->GetPhi() - in->GetPhi();
        const double i1 = amp->Current(), i2 = -u2 / R;
        if (dt <= 0) {
            before = {i1, i2};
            return;
        }
        r.Input += u1 * i1 * dt;
        r.Output += u2 * u2 / R * dt;
        r.Losses += view.Loss(tr) * dt;
        // The transformer ends a step at the first request of the next one:
        // what it holds now are the currents of the step before.
        const auto own = view.Currents(tr);
        mismatch = std::max({mismatch, std::abs(own.first - before.first),
                             std::abs(own.second - before.second)});
        before = {i1, i2};
        peak = std::max({peak, std::abs(i1), std::abs(i2)});
        if (t > T - period) {
            r.I1 = std::max(r.I1, std::abs(i1));
            r.I2 = std::max(r.I2, std::abs(i2));
            r.U1 = std::max(r.U1, std::abs(u1));
            r.U2 = std::max(r.U2, std::abs(u2));
            p1 += u1 * i1 * dt;
            pl += u2 * u2 / R * dt;
            span += dt;
        }
    };
    const TRunResult result = RunSimulation(context, o);
    r.Finished = result.Status == TRunResult::Outcome::Finished;
    r.Magnetic = view.Stored(tr);
    r.P1 = span > 0 ? p1 / span : 0;
    r.PLoad = span > 0 ? pl / span : 0;
    r.CurrentMismatch = peak > 0 ? mismatch / peak : 0;
    return r;
}

} // namespace TransformerRig
