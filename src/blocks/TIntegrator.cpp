#include "blocks/TIntegrator.h"

#include "model/ClassRegistry.h"

namespace {

const ParamDef IntegratorParams[] = {
    {"Начальное условие", "IC", nullptr, 0.0, 0, 0},
    {},
};

TMatrix Scalar(double v) {
    TMatrix m(1, 1);
    m(0, 0) = v;
    return m;
}

} // namespace

TIntegrator::TIntegrator(Schematic& sheet) : TDynamic(sheet) {
    RefParamDefs = IntegratorParams;
}

TMatrix TIntegrator::GetA() {
    return Scalar(0.0);
}
TMatrix TIntegrator::GetB() {
    return Scalar(1.0);
}
TMatrix TIntegrator::GetC() {
    return Scalar(1.0);
}
TMatrix TIntegrator::GetD() {
    return Scalar(0.0);
}

// Read from the parameter itself, so a run starts from its present value.
double TIntegrator::GetInitialState(int) {
    return ParamOf("IC");
}

REGISTER_ELEMENT(TIntegrator, TDynamic);
