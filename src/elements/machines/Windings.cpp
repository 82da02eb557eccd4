#include "elements/machines/Windings.h"

#include <cmath>
#include <string>

#include "Simulation/SimModel.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TBaseElement.h"
#include "params/ParamDef.h"

namespace Windings {

bool RequireModelMethod(const TBaseElement& e) {
    if (e.MethodIndex >= 0 && e.MethodIndex < MethodCount(e.ModelMethods)) return true;
    Msg().Error("Компонент " + e.Name() + " №" + std::to_string(e.ElementIndex()) + ": модель № " +
                    std::to_string(e.MethodIndex) + " отсутствует в списке.",
                ApplicationTitle);
    return false;
}

double Guarded(double v, double limit, double replacement) {
    if (std::abs(v) >= limit) return v;
    return v < 0 ? -replacement : replacement;
}

std::uint64_t Evaluation(const TBaseElement& e) {
    return e.Sheet().Run().Evaluation;
}

int PinNode(const TConnector* pin) {
    return pin && pin->IsConnected() ? pin->FSimNode : -1;
}

} // namespace Windings
