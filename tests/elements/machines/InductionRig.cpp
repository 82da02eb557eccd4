#include "elements/machines/InductionRig.h"

#include <gtest/gtest.h>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "elements/electrical/TAmper.h"
#include "elements/machines/TAtd.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/CircuitBuilder.h"

namespace InductionRig {

void FeedThreePhase(Schematic& sheet, TBaseElement* motor, const std::array<const char*, 3>& pins,
                    double U, bool positive, std::array<TBaseElement*, 3>* ammeters) {
    CircuitBuilder b(sheet);
    const double shift = 2 * Pi / 3;
    const double phases[3] = {0, positive ? -shift : shift, positive ? shift : -shift};
    for (int k = 0; k < 3; ++k) {
        TBaseElement* source = b.Add("TVoltageSin", 40, 40 + 160 * k);
        CircuitBuilder::Set(source, "E", U);
        CircuitBuilder::Set(source, "w", Omega50);
        CircuitBuilder::Set(source, "phi", phases[k]);
        TBaseElement* ammeter = b.Add("TAmper", 200, 40 + 160 * k);
        TBaseElement* ground = b.Add("TGround", 40, 130 + 160 * k);
        b.Wire(CircuitBuilder::Pin(source, "Minus"), CircuitBuilder::Pin(ground, "Connector"));
        b.Wire(CircuitBuilder::Pin(source, "Plus"), CircuitBuilder::Pin(ammeter, "Connector1"));
        b.Wire(CircuitBuilder::Pin(ammeter, "Connector2"), CircuitBuilder::Pin(motor, pins[k]));
        if (ammeters) (*ammeters)[k] = ammeter;
    }
}

namespace {

TRun Run(const char* cls, const TMotorData& d, double U, double Mc, double T, double h,
         bool positive, double rotorR, std::vector<double>* speeds, double every) {
    Schematic sheet;
    CircuitBuilder b(sheet);
    auto* motor = static_cast<TAtd*>(b.Add(cls, 400, 200));
    if (rotorR == 0) {
        b.Wire(CircuitBuilder::Pin(motor, "Connector_rA"),
               CircuitBuilder::Pin(motor, "Connector_rB"));
        b.WireToNode(CircuitBuilder::Pin(motor, "Connector_rC"),
                     CircuitBuilder::Pin(motor, "Connector_rA"));
    } else if (rotorR > 0) {
        TBaseElement* first = nullptr;
        const char* pins[3] = {"Connector_rA", "Connector_rB", "Connector_rC"};
        for (int k = 0; k < 3; ++k) {
            TBaseElement* r = b.Add("TResistor", 360 + 100 * k, 400);
            CircuitBuilder::Set(r, "R", rotorR);
            b.Wire(CircuitBuilder::Pin(motor, pins[k]), CircuitBuilder::Pin(r, "Connector1"));
            if (k == 1)
                b.Wire(CircuitBuilder::Pin(r, "Connector2"),
                       CircuitBuilder::Pin(first, "Connector2"));
            else if (k == 2)
                b.WireToNode(CircuitBuilder::Pin(r, "Connector2"),
                             CircuitBuilder::Pin(first, "Connector2"));
            else
                first = r;
        }
    }
    CircuitBuilder::Set(motor, "Rc", d.Rc);
    CircuitBuilder::Set(motor, "Lc", d.Lc);
    CircuitBuilder::Set(motor, "Rp", d.Rp);
    CircuitBuilder::Set(motor, "Lp", d.Lp);
    CircuitBuilder::Set(motor, "M", d.M);
    CircuitBuilder::Set(motor, "Jd", d.J);
    CircuitBuilder::Set(motor, "Mc", Mc);
    motor->MethodIndex = 0;
    std::array<TBaseElement*, 3> ammeters{};
    FeedThreePhase(sheet, motor, {"Connector_A", "Connector_B", "Connector_C"}, U, positive,
                   &ammeters);
    TRunSettings& m = sheet.RunSettings;
    m.T = T;
    m.h = h;
    m.GS = h;
    TRun r;
    TRunContext context(sheet, "");
    if (!PrepareRun(context)) return r;
    const TConnector* pins[3] = {motor->FindConnector("Connector_A"),
                                 motor->FindConnector("Connector_B"),
                                 motor->FindConnector("Connector_C")};
    double last = 0, nextSpeed = 0, torqueSum = 0;
    long torqueCount = 0;
    TRunOptions o;
    o.MaxIterations = 100;
    o.Sample = [&](double t, const std::vector<double>&) {
        const double dt = t - last;
        last = t;
        if (dt <= 0) return;
        ++r.Samples;
        const auto& x = motor->Machine;
        double p = 0;
        for (int k = 0; k < 3; ++k) {
            const double i = static_cast<TAmper*>(ammeters[k])->Current();
            p += pins[k]->GetPhi() * i;
            r.PeakCurrent = std::max(r.PeakCurrent, std::abs(i));
        }
        r.Input += p * dt;
        double loss = 0;
        for (int k = 0; k < 3; ++k)
            loss += x.Rc * x.Is[k] * x.Is[k] + x.Rp * x.Ir[k] * x.Ir[k];
        r.Copper += loss * dt;
        r.LoadWork += x.Ml * x.W * dt;
        if (t > T - 0.1) {
            torqueSum += x.Te;
            ++torqueCount;
        }
        if (speeds && t >= nextSpeed) {
            speeds->push_back(x.W);
            nextSpeed += every;
        }
    };
    const TRunResult result = RunSimulation(context, o);
    r.Finished = result.Status == TRunResult::Outcome::Finished;
    r.Steps = result.Steps;
    const auto& x = motor->Machine;
    for (int k = 0; k < 3; ++k)
        r.Magnetic += 0.5 * (x.Psi[k] * x.Is[k] + x.Psi[3 + k] * x.Ir[k]);
    r.Kinetic = 0.5 * x.J * x.W * x.W;
    r.Omega = x.W;
    r.Torque = x.Te;
    r.MeanTorque = torqueCount ? torqueSum / double(torqueCount) : 0.0;
    return r;
}

} // namespace

TRun RunTAtd(const TMotorData& d, double U, double Mc, double T, double h, bool positive,
             std::vector<double>* speeds, double every) {
    return Run("TAtd", d, U, Mc, T, h, positive, -1, speeds, every);
}

TRun RunTAtdpet(const TMotorData& d, double U, double Mc, double T, double h, double rotorR,
                std::vector<double>* speeds, double every) {
    return Run("TAtdpet", d, U, Mc, T, h, true, rotorR, speeds, every);
}

} // namespace InductionRig
