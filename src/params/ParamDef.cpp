#include "params/ParamDef.h"

int UnitCount(const UnitDef* units) {
    int n = 0;
    if (units)
        while (units[n].Text) ++n;
    return n;
}

int ParamRowCount(const ParamDef* table) {
    int n = 0;
    if (table)
        while (table[n].Name) ++n;
    return n;
}

int MethodCount(const char* const* methods) {
    int n = 0;
    if (methods)
        while (methods[n]) ++n;
    return n;
}

bool ValidUnit(const ParamDef& def, int unit) { return unit >= 0 && unit < UnitCount(def.Units); }

double UnitFactor(const ParamValue& v) {
    if (!v.Def || !v.Def->Units || !ValidUnit(*v.Def, v.Unit)) return 1.0;
    return v.Def->Units[v.Unit].Factor;
}

bool IsEnumerated(const ParamDef& def) {
    for (int i = 0, n = UnitCount(def.Units); i < n; ++i)
        if (def.Units[i].Factor == 0) return true;
    return false;
}

bool RowBelongsToMethod(const ParamDef& def, int method) {
    const unsigned bit = unsigned(((method % 32) + 32) % 32);
    return (def.MethodMask >> bit) & 1u;
}
