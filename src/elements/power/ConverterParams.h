#pragma once

#include "params/ParamDef.h"

// What the voltage-frequency converter and the inverter share: the unit of
// their transfer coefficient and its whole part.
namespace Converter {

// "Гц/В" followed by eight blanks.
extern const UnitDef Transfer[];

// The transfer coefficient truncated towards zero, as the control update
// uses it; values beyond the int range are held at its ends.
int TruncatedTransfer(double k);

} // namespace Converter
