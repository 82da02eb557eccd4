#pragma once

#include <cstdint>
#include <string>

// Parameter tables are static arrays owned by the element classes and ended
// by an entry without text (units) or without a name (parameter rows).

struct UnitDef {
    const char* Text = nullptr;  // shown in the unit box
    double Factor = 0;           // base value = shown value * Factor; 0 marks an enumerated option
};

struct ParamDef {
    const char* Description = nullptr;  // shown followed by ":"
    const char* Name = nullptr;         // short name: file and database key
    const UnitDef* Units = nullptr;     // null: a plain number without a unit box
    double DefaultValue = 0;            // in the base unit
    std::int32_t DefaultUnit = 0;
    std::uint32_t MethodMask = 0;       // model rows: bit k = shown under method k
};

inline constexpr std::uint32_t AllMethods = 0xFFFFFFFFu;

struct ParamValue {
    double Value = 0;   // base unit
    int Unit = 0;       // index into Def->Units
    const ParamDef* Def = nullptr;
};

// Number of entries of a units table (0 for none).
int UnitCount(const UnitDef* units);
// Number of rows of a parameter table (0 for none).
int ParamRowCount(const ParamDef* table);
// Number of names of a null-terminated method list.
int MethodCount(const char* const* methods);
// True when a unit index names an entry of the row's units table.
bool ValidUnit(const ParamDef& def, int unit);
// Factor of the value's present unit; 1 for rows without units.
double UnitFactor(const ParamValue& v);
// True when the row is an enumerated choice (some unit has factor 0).
bool IsEnumerated(const ParamDef& def);
// True when a model row is shown under the method (bit method mod 32).
bool RowBelongsToMethod(const ParamDef& def, int method);
