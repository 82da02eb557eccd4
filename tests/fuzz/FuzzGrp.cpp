// The plot viewer's readers of "graf.grp" and of its side file "graf.names"
// on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "vielo/GrpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const GrpReadResult r = ParseGrp(data, size, "graf.grp");
    if (r.Ok() && r.Data.InputCount() > 0 && r.Data.Values[0].size() != r.Data.SampleCount()) __builtin_trap();
    // The names of a file of n inputs: all n or none, each one line.
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (int n = 1; n <= 3; ++n) {
        const auto names = ParseInputNames(text, n);
        if (!names.empty() && int(names.size()) != n) __builtin_trap();
        for (const std::string& name : names)
            if (name.size() > 256 || name.find_first_of("\t\r\n") != std::string::npos) __builtin_trap();
    }
    return 0;
}
