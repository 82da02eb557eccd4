#include "elements/power/ConverterParams.h"

#include <climits>
#include <cmath>

namespace Converter {

const UnitDef Transfer[] = {{"Гц/В        ", 1}, {}};

int TruncatedTransfer(double k) {
    if (std::isnan(k)) return 0;
    if (k >= double(INT_MAX)) return INT_MAX;
    if (k <= double(INT_MIN)) return INT_MIN;
    return int(std::trunc(k));
}

} // namespace Converter
