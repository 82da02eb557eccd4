#include "elements/power/ConverterParams.h"

#include <climits>
#include <cmath>
#include <string>

#include "model/Messages.h"
#include "model/TBaseElement.h"
#include "params/ValueText.h"

namespace Converter {

const UnitDef Transfer[] = {{"Гц/В        ", 1}, {}};

int TruncatedTransfer(double k) {
    if (std::isnan(k)) return 0;
    if (k >= double(INT_MAX)) return INT_MAX;
    if (k <= double(INT_MIN)) return INT_MIN;
    return int(std::trunc(k));
}

bool CheckBeforeRun(const TBaseElement& element, const char* consequence) {
    const bool rg = element.RequirePositive("Rg");
    const bool ru = element.RequirePositive("Ru");
    const double k = element.ParamOf("k");
    if (TruncatedTransfer(k) == 0)
        Msg().Warning("Компонент " + element.Name() + " №" + std::to_string(element.ElementIndex()) +
                          ": коэффициент передачи k = " + FormatShownReal(k) + " Гц/В усекается до 0: " +
                          consequence,
                      ApplicationTitle);
    return rg && ru;
}

} // namespace Converter
