#include "support/BranchProbe.h"

#include <algorithm>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "support/WireDrawing.h"

void BranchProbe::SetPotential(TConnector* pin, double phi) {
    auto it = std::find(pins_.begin(), pins_.end(), pin);
    if (it == pins_.end()) {
        if (!pin->IsConnected()) DragWire(pin, pin->GetLink() + TPoint{0, 40});
        pin->FSimNode = int(pins_.size());
        pins_.push_back(pin);
        model_->Phi.resize(pins_.size(), 0.0);
    }
    model_->Phi[std::size_t(pin->FSimNode)] = phi;
}

double BranchProbe::Current(TBaseElement& element, const TBranchRecord& branch) {
    auto phi = [&element](const TTerminal& t) {
        const TConnector* pin = t.Kind == 0 ? element.FindConnector(t.Pin) : nullptr;
        return pin ? pin->GetPhi() : 0.0;
    };
    const double g = EvaluateValue(element, branch.g).Value();
    const double E = EvaluateValue(element, branch.E).Value();
    const double J = EvaluateValue(element, branch.J).Value();
    const double u = phi(branch.T2) - phi(branch.T1);
    return g * (E - u) - J;
}
