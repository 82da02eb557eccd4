// The database panel of the parameter dialog: picking, adding and removing
// typical devices.
#include <algorithm>

#include "model/Messages.h"
#include "model/TBaseElement.h"
#include "params/Cp1251.h"
#include "params/Database.h"
#include "params/ElementParamsController.h"

namespace {
// The list keeps its items in the order a sorted list box shows them.
bool TypeBefore(const std::string& a, const std::string& b) {
    const std::string fa = FoldCase(a), fb = FoldCase(b);
    return fa != fb ? fa < fb : a < b;
}
} // namespace

int TElementParamsController::FindType(const std::string& name) const {
    for (int i = 0; i < int(TypeItems.size()); ++i)
        if (EqualsIgnoreCase(TypeItems[i], name)) return i;
    return -1;
}

int TElementParamsController::ChosenType() const {
    if (TypeIndex >= 0 && TypeIndex < int(TypeItems.size())) return TypeIndex;
    return FindType(TypeText);
}

void TElementParamsController::InsertType(const std::string& name) {
    const auto at = std::upper_bound(TypeItems.begin(), TypeItems.end(), name, TypeBefore);
    TypeIndex = int(at - TypeItems.begin());
    TypeItems.insert(at, name);
}

void TElementParamsController::TypeTextEdited(const std::string& text) {
    if (!TypeListEditable) return;
    TypeText = text;
    TypeIndex = -1;
}

void TElementParamsController::TypePicked(int index) {
    if (index < 0 || index >= int(TypeItems.size())) return;
    TypeIndex = index;
    TypeText = TypeItems[index];
    TypeListClick();
}

void TElementParamsController::TypeListClick() {
    element_.AutoModel = AutoCalcSelected;
    element_.LoadDeviceType(TypeText);
    for (auto& row : RefEditors)
        row->ShowValue();
}

void TElementParamsController::SetManualEntry(bool checked) {
    if (checked == ManualEntryChecked) return;
    ManualEntryChecked = checked;
    ManualEntryClick();
}

void TElementParamsController::ManualEntryClick() {
    for (auto& row : RefEditors)
        row->SetEditable(ManualEntryChecked);
    if (!ManualEntryChecked) {
        TypeIndex = FindType(TypeText);
        TypeText = TypeIndex >= 0 ? TypeItems[TypeIndex] : std::string();
    }
    TypeListEditable = ManualEntryChecked;
    AddEnabled = ManualEntryChecked;
    RemoveEnabled = ManualEntryChecked;
}

void TElementParamsController::AddButtonClick() {
    const std::string name = TypeText;
    if (name.empty() || !ApplyRefRows()) return;
    const int existing = ChosenType();
    if (existing >= 0 &&
        Msg().Question("В базе данных уже есть тип компонента " + name + ". Изменить?",
                       ApplicationTitle, false) != TAnswer::Yes)
        return;
    if (!element_.SaveDeviceType(name)) {
        Msg().Error("Не удалось записать файл " + DatabaseWritePath(element_.DbSection) + "!",
                    ErrorCaption);
        return;
    }
    if (existing < 0)
        InsertType(name);
    else
        TypeIndex = existing;
}

void TElementParamsController::RemoveButtonClick() {
    const std::string name = TypeText;
    const int item = ChosenType();
    if (item < 0) {
        Msg().Error("В базе данных тип компонента " + name + " отсутствует!", ErrorCaption);
        return;
    }
    if (!element_.RemoveDeviceType(TypeItems[item])) {
        Msg().Error("Не удалось записать файл " + DatabaseWritePath(element_.DbSection) + "!",
                    ErrorCaption);
        return;
    }
    TypeItems.erase(TypeItems.begin() + item);
    TypeIndex = -1;
}
