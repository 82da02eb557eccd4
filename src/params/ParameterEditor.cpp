#include "params/ParameterEditor.h"

#include "model/Messages.h"
#include "model/TBaseElement.h"
#include "params/LocaleNumber.h"

TParameterEditor::TParameterEditor(TBaseElement& element, const ParamDef& def,
                                   char decimalSeparator)
    : def_(&def), value_(element.FindParam(def.Name)), separator_(decimalSeparator) {
    const int units = UnitCount(def.Units);
    for (int i = 0; i < units; ++i)
        UnitTexts.emplace_back(def.Units[i].Text);
    ValueVisible = !IsEnumerated(def);
    UnitVisible = def.Units != nullptr;
    UnitEnabled = units > 1;
    ShowValue();
}

std::string TParameterEditor::Label() const {
    return std::string(def_->Description ? def_->Description : "") + ":";
}

void TParameterEditor::ShowValue() {
    if (!value_) return;
    double factor = 1.0;
    if (def_->Units) {
        UnitSelection = ValidUnit(*def_, value_->Unit) ? value_->Unit : -1;
        factor = UnitFactor(*value_);
    }
    if (ValueVisible) Text = FormatLocaleReal(value_->Value / factor, separator_);
    shownText_ = Text;
    shownUnit_ = UnitSelection;
}

bool TParameterEditor::ApplyValue() {
    if (!value_) return true;
    double factor = 1.0;
    if (def_->Units && UnitSelection >= 0) {
        value_->Unit = UnitSelection;
        factor = def_->Units[UnitSelection].Factor;
    } else if (def_->Units) {
        factor = UnitFactor(*value_);
    }
    if (!ValueVisible) return true;
    double number = 0;
    if (!ParseLocaleReal(Text, separator_, number)) {
        Msg().Error(RefusalText(), ErrorCaption);
        return false;
    }
    if (Text == shownText_ && UnitSelection == shownUnit_) return true;
    value_->Value = number * factor;
    shownText_ = Text;
    shownUnit_ = UnitSelection;
    return true;
}

std::string TParameterEditor::RefusalText() const {
    std::string text = std::string(ParamErrorText) + "\nПоле «" +
                       (def_->Description ? def_->Description : def_->Name) +
                       "»: ожидается число вида 2" + separator_ + "2";
    const int unit = UnitSelection >= 0 ? UnitSelection : value_ ? value_->Unit : -1;
    if (def_->Units && unit >= 0 && unit < int(UnitTexts.size()) && !UnitTexts[std::size_t(unit)].empty())
        text += " (" + UnitTexts[std::size_t(unit)] + ")";
    return text;
}

void TParameterEditor::SetEditable(bool on) {
    ValueEnabled = on;
    if (UnitTexts.size() > 1) UnitEnabled = on;
}

bool TParameterEditor::HoldsNonNumber() const {
    double number = 0;
    return ValueVisible && !ParseLocaleReal(Text, separator_, number);
}

bool TParameterEditor::CanFocus() const {
    return ValueVisible ? ValueEnabled : (UnitVisible && UnitEnabled);
}
