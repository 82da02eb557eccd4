#pragma once

class TBaseElement;

// Checks shared by the transformers, the rotary transformer and the selsyns.
namespace Windings {

// Refuses a model method outside the element's list, naming the element.
bool RequireModelMethod(const TBaseElement& e);

// Holds a divisor away from zero: a magnitude below `limit` becomes
// ±replacement with the value's sign, 0 counting as positive.
double Guarded(double v, double limit, double replacement);

} // namespace Windings
