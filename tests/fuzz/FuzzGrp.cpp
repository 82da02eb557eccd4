// The plot viewer's reader of "graf.grp" on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "vielo/GrpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const GrpReadResult r = ParseGrp(data, size, "graf.grp");
    if (r.Ok() && r.Data.InputCount() > 0 && r.Data.Values[0].size() != r.Data.SampleCount()) __builtin_trap();
    return 0;
}
