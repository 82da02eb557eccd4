#pragma once

#include "params/ParamDef.h"

class TBaseElement;

// What the voltage-frequency converter and the inverter share: the unit of
// their transfer coefficient and its whole part.
namespace Converter {

// "Гц/В" followed by eight blanks.
extern const UnitDef Transfer[];

// The transfer coefficient truncated towards zero, as the control update
// uses it; values beyond the int range are held at its ends.
int TruncatedTransfer(double k);

// The checks before a run both share: "Rg" and "Ru" must be positive, and a
// "k" that truncates to 0 is warned about once, with what it means for this
// converter (`consequence`, the end of the sentence).
bool CheckBeforeRun(const TBaseElement& element, const char* consequence);

} // namespace Converter
