#include "params/ElementParamsController.h"

#include "model/Messages.h"
#include "model/TBaseElement.h"
#include "params/Database.h"
#include "params/IniFile.h"

TElementParamsController::TElementParamsController(TBaseElement& element, char decimalSeparator)
    : element_(element), separator_(decimalSeparator) {
    for (int i = 0, n = ParamRowCount(element_.RefParamDefs); i < n; ++i)
        RefEditors.push_back(
            std::make_unique<TParameterEditor>(element_, element_.RefParamDefs[i], separator_));

    MethodsPanelVisible = element_.ModelMethods != nullptr;
    for (int i = 0, n = MethodCount(element_.ModelMethods); i < n; ++i)
        MethodItems.emplace_back(element_.ModelMethods[i]);
    MethodSelection = element_.MethodIndex >= 0 && element_.MethodIndex < int(MethodItems.size())
                          ? element_.MethodIndex
                          : -1;

    ModelPageVisible = element_.ModelParamDefs != nullptr;
    if (ModelPageVisible) {
        BuildModelEditors();
        SetAutoCalc(element_.AutoModel);
    }

    DataBasePanelVisible = element_.DbSection != nullptr;
    if (DataBasePanelVisible) {
        ManualEntryChecked = element_.ManualRefs;
        ManualEntryClick();
        TypeItems.clear();
        TypeIndex = -1;
        for (const std::string& section : TIniFile(DatabasePath(element_.DbSection)).Sections())
            InsertType(section);
        TypeIndex = -1;
    }
    if (TypeListEditable) {
        TypeText = element_.DeviceType;
        TypeIndex = -1;
    } else {
        TypeIndex = FindType(element_.DeviceType);
        TypeText = TypeIndex >= 0 ? TypeItems[TypeIndex] : std::string();
    }
}

TElementParamsController::~TElementParamsController() = default;

TParameterEditor* TElementParamsController::FirstRow() const {
    if (!RefEditors.empty()) return RefEditors.front().get();
    if (!ModelEditors.empty()) return ModelEditors.front().get();
    return nullptr;
}

bool TElementParamsController::Apply(TParameterEditor& row) {
    if (row.ApplyValue()) return true;
    FocusRow(row);
    return false;
}

bool TElementParamsController::ApplyRefRows() {
    for (auto& row : RefEditors)
        if (!Apply(*row)) return false;
    return true;
}

void TElementParamsController::ShowRows(std::vector<std::unique_ptr<TParameterEditor>>& rows) {
    for (auto& row : rows)
        row->ShowValue();
}

void TElementParamsController::FocusRow(const TParameterEditor& row) {
    Focus.What = TParamsFocus::Target::ValueBox;
    Focus.Row = &row;
    for (auto& r : ModelEditors)
        if (r.get() == &row) ActivePage = TParamsPage::Model;
    for (auto& r : RefEditors)
        if (r.get() == &row) ActivePage = TParamsPage::Reference;
}

bool TElementParamsController::LeaveValueBox(const TParameterEditor& row) {
    if (!row.HoldsNonNumber()) return true;
    Msg().Error(row.RefusalText(), ErrorCaption);
    FocusRow(row);
    return false;
}

void TElementParamsController::BuildModelEditors() {
    for (auto& row : ModelEditors)
        row->ApplyValue();
    if (Focus.Row && Focus.What != TParamsFocus::Target::None)
        for (auto& row : ModelEditors)
            if (row.get() == Focus.Row) Focus = {};
    ModelEditors.clear();
    ++ModelEditorsGeneration;
    if (!element_.ModelParamDefs) return;
    for (int i = 0, n = ParamRowCount(element_.ModelParamDefs); i < n; ++i) {
        const ParamDef& def = element_.ModelParamDefs[i];
        if (RowBelongsToMethod(def, MethodSelection))
            ModelEditors.push_back(std::make_unique<TParameterEditor>(element_, def, separator_));
    }
    AutoCalcClick();
}

void TElementParamsController::SetAutoCalc(bool selected) {
    AutoCalcSelected = selected;
    if (selected)
        AutoCalcClick();
    else
        RadioButton1Click();
}

void TElementParamsController::AutoCalcClick() {
    for (auto& row : ModelEditors)
        row->SetEditable(!AutoCalcSelected);
    if (!AutoCalcSelected) return;
    ApplyRefRows();
    element_.MethodIndex = MethodSelection;
    element_.CalcModelParams();
    ShowRows(ModelEditors);
    RefPageVisible = true;
}

void TElementParamsController::RadioButton1Click() {
    RefPageVisible = false;
    if (ActivePage == TParamsPage::Reference && ModelPageVisible) ActivePage = TParamsPage::Model;
    AutoCalcClick();
}

void TElementParamsController::CalcSheetEnter() {
    if (!AutoCalcSelected || !ApplyRefRows()) return;
    element_.CalcModelParams();
    ShowRows(ModelEditors);
}

void TElementParamsController::MethodPicked(int index) {
    if (index == MethodSelection) return;
    MethodSelection = index;
    MethodsListChange();
}

void TElementParamsController::MethodsListChange() {
    if (AutoCalcSelected) {
        element_.MethodIndex = MethodSelection;
        element_.CalcModelParams();
    }
    BuildModelEditors();
}

void TElementParamsController::FormShow() {
    Focus = {};
    if (ModelPageVisible && !AutoCalcSelected) {
        ActivePage = TParamsPage::Model;
        Focus.What = TParamsFocus::Target::MethodsList;
        RefPageVisible = false;
        return;
    }
    if (ModelPageVisible) {
        ActivePage = TParamsPage::Reference;
        if (DataBasePanelVisible) Focus.What = TParamsFocus::Target::TypeList;
        return;
    }
    if (DataBasePanelVisible) {
        Focus.What = TParamsFocus::Target::TypeList;
        return;
    }
    const TParameterEditor* row = FirstRow();
    if (!row || !row->CanFocus()) return;
    Focus.What = row->ValueVisible ? TParamsFocus::Target::ValueBox : TParamsFocus::Target::UnitBox;
    Focus.Row = row;
}

bool TElementParamsController::FormCloseQuery() {
    if (!ApplyRefRows()) return false;
    element_.MethodIndex = MethodItems.empty() ? -1 : MethodSelection;
    if (AutoCalcSelected) {
        if (!element_.CalcModelParams()) return false;
    } else {
        for (auto& row : ModelEditors)
            if (!Apply(*row)) return false;
    }
    element_.AutoModel = AutoCalcSelected;
    element_.ManualRefs = ManualEntryChecked;
    element_.DeviceType = TypeText;
    return true;
}
