// The schematic reader on arbitrary bytes; whatever loads is assembled and
// run for a few steps with a bounded Newton iteration.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "QuietMessages.h"
#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "params/Cp1251.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QuietMessages quiet;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Schematic sheet;
    if (LoadSchematicLines(sheet, SplitLines(Cp1251ToUtf8(bytes))) != TLoadResult::Loaded) return 0;
    // Round trip of what was read: writing must not fail or crash.
    SchematicToLines(sheet);
    TRunSettings& m = sheet.RunSettings;
    m.T = 5 * m.h;
    m.GS = m.h;
    TRunContext context(sheet, "");
    if (!PrepareRun(context)) return 0;
    TRunOptions o;
    o.MaxIterations = 20;
    RunSimulation(context, o);
    return 0;
}
