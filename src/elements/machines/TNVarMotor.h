#pragma once

#include "blocks/Families.h"
#include "elements/machines/DcArmature.h"

class TConnector;

// Separately excited DC motor with a saturating magnetic circuit and armature
// reaction; the field winding follows its magnetisation curve.
class TNVarMotor : public TProducer {
public:
    explicit TNVarMotor(Schematic& sheet);
    TValue GetOutput() override;
    const TBranchRecord* GetCircuitModel() const override;
    bool CalcModelParams() override;
    void ResetState() override;
    // The step state advances once a step, before the step is read.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override { Update(); }
    bool CheckBeforeRun() override;
    void Loaded() override;

    double Conductance();
    double Emf();
    double FieldConductance();
    double FieldEmf();
    double Output();

    double OmegaN = 0;
    double C = 0;
    double Rb = 1;
    double Ibn = 1, Ian = 1, Fpnom = 0, Fmnom = 1, PsBnom = 1, PsiAdnom = 0;
    double Sq = 0, SFpr = 0, Lf0 = 0, Lf = 0;
    double tf = 0, iF = 0, iF0 = 0, Gf = 0, Ef = 0;
    double Psi = 0, X = 0, Phi = 0, KPhi = 1;
    int Choice = 0;
    DcMachine::TArmature Arm;
    LoadTorque::TModel Load;

private:
    void UpdateField();
    void Update();

    TConnector* c1_ = nullptr;
    TConnector* c2_ = nullptr;
    TConnector* c3_ = nullptr;
    TConnector* c4_ = nullptr;
};

// The magnetisation curve factor: Φ = x·P(x) for the relative magnetising
// variable x.
double MagnetisationPolynomial(double x);

// The relative magnetising variable at the knee of the curve for the
// saturation factor Knas: the root of x·P(x) = b·x, b = tan(90 − 32.29·Knas)
// taken in radians, by bisection on [0, 35]. False when the root is not
// bracketed there or the iteration does not converge.
bool NominalMagnetisation(double Knas, double& x);
