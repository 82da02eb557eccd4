// Number texts: a text the strict reader takes is finite, and the writer's
// text for it reads back to the same number; a parameter value text never
// changes the value unless it is taken whole.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "params/ParamDef.h"
#include "params/Units.h"
#include "params/ValueText.h"

namespace {

const ParamDef Row = {"Напряжение", "U", Units::Voltage, 1, 2, 0};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    double v = 0;
    if (ReadReal(text, v)) {
        if (!std::isfinite(v)) std::abort();
        double back = 0;
        if (!ReadReal(FormatReal(v), back) || back != v) std::abort();
    }
    long n = 0;
    ReadInt(text, n);
    ParamValue pv{3.0, 1, &Row};
    if (!ParseValueText(text, pv).empty() && (pv.Value != 3.0 || pv.Unit != 1)) std::abort();
    FormatValueText(pv);
    return 0;
}
