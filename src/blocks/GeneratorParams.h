#pragma once

#include "params/ParamDef.h"

// The parameter tables of the signal generators, in table order.
namespace GeneratorParams {
extern const ParamDef Step[];
extern const ParamDef Sinusoid[];
extern const ParamDef Const[];
extern const ParamDef GPSP[];
extern const ParamDef GRI[];
extern const ParamDef Trap[];
extern const ParamDef Treu[];
extern const ParamDef Ramp[];
extern const ParamDef Angel[];
extern const ParamDef SyncGPN[];
extern const ParamDef PilaP[];
extern const ParamDef PilaO[];
} // namespace GeneratorParams
