#pragma once

#include <string>
#include <vector>

#include "params/ParamDef.h"

class TBaseElement;

// One row of the parameter dialog without its widgets: what the description
// label, the value box and the unit box show, and how the row's text reaches
// the element's value. The dialog mirrors these fields into its widgets and
// writes what the user types back into Text and UnitSelection.
class TParameterEditor {
public:
    // Binds the row to the element's value of the same name (FindParam).
    TParameterEditor(TBaseElement& element, const ParamDef& def, char decimalSeparator);

    const ParamDef& Def() const { return *def_; }
    ParamValue* Value() const { return value_; }
    // The label: the description followed by ":".
    std::string Label() const;

    std::vector<std::string> UnitTexts;
    bool ValueVisible = true; // hidden for an enumerated choice
    bool UnitVisible = true;  // hidden for a row without units
    bool ValueEnabled = true;
    bool UnitEnabled = true; // a single choice is shown but never enabled
    std::string Text;        // the value box
    int UnitSelection = -1;  // the unit box, -1 when nothing is selected

    // Writes the element's value into the boxes, in the present unit.
    void ShowValue();
    // Reads the boxes into the element's value. A value box that holds no
    // number shows RefusalText and stores nothing for the row.
    bool ApplyValue();
    // "Ошибка в параметре!", then the field and the form it expects:
    // "Поле «Сопротивление»: ожидается число вида 2,2 (Ом)", with the user's
    // separator and the unit chosen in the row.
    std::string RefusalText() const;
    void SetEditable(bool on);
    // The value box is visible and holds no number (the check on leaving it).
    bool HoldsNonNumber() const;
    // The row could take the keyboard focus.
    bool CanFocus() const;

private:
    const ParamDef* def_;
    ParamValue* value_;
    char separator_;
    // What ShowValue last wrote: a row the user left alone keeps its exact
    // value instead of the value read back from its rounded text.
    std::string shownText_;
    int shownUnit_ = -1;
};

// The one text of a refused value box.
inline constexpr const char* ParamErrorText = "Ошибка в параметре!";
