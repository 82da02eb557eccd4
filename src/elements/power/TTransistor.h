#pragma once

#include "model/TBaseElement.h"

class TConnector;

// Bipolar transistor: two junction diodes (base to an internal collector
// node, base to emitter), a collector series resistance and a current
// source between internal collector and emitter carrying BF times the
// emitter-junction current less BR times the collector-junction current.
class TTransistor : public TBaseElement {
public:
    explicit TTransistor(Schematic& sheet);

    bool CalcModelParams() override;
    void ResetState() override;
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override;

    // Live branch values; each read recomputes all of them.
    double CollectorConductance();
    double CollectorSource();
    double EmitterConductance();
    double EmitterSource();
    double TransportSource();
    double SeriesConductance();

    static constexpr double M = 1.5;  // emission coefficient
    static constexpr double BR = 1.0; // inverse current gain
    static constexpr double Q = 1.6e-19;
    static constexpr double K = 1.38e-23;

    double BF = 0, Icbo = 0, Tnom = 0, Twork = 0, Inom = 0, Usat = 0, Unom = 0;
    double PhiT = 0, Rs = 0, Ulow = 0, LastTime = -1.0;
    int Crystal = 6;
    // Saturation currents and the currents of each junction at Ulow and Usat.
    double IsC = 0, IsE = 0, IrevE = 0;
    double IlowC = 0, IsatC = 0, IlowE = 0, IsatE = 0;
    // The values of the last read.
    double gC = 0, jC = 0, gE = 0, jE = 0, Icc = 0;

private:
    void Update();
    void Junction(double v, double is, double reverseScale, double iLow, double iSat, double& g,
                  double& j) const;
    double JunctionCurrent(double is, double u) const;

    TConnector* base_ = nullptr;
    TConnector* emitter_ = nullptr;
};
