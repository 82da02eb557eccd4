#pragma once

#include <memory>
#include <string>
#include <vector>

#include "params/ParameterEditor.h"

class TBaseElement;

// Which control the dialog should give the keyboard focus to.
struct TParamsFocus {
    enum class Target { None, TypeList, MethodsList, ValueBox, UnitBox };
    Target What = Target::None;
    const TParameterEditor* Row = nullptr; // for ValueBox and UnitBox
};

enum class TParamsPage { Reference, Model };

// The logic of the element parameter dialog (TElementParams) without its
// widgets: the rows of both pages, the database panel, the model methods and
// every handler. It works directly on the element's values: what a handler
// applies reaches the element at once. The dialog mirrors the public state
// into its widgets after each handler, and writes what the user types or
// picks into it before.
class TElementParamsController {
public:
    // Setup: builds the rows and fills the panels from the element.
    TElementParamsController(TBaseElement& element, char decimalSeparator);
    ~TElementParamsController();
    TElementParamsController(const TElementParamsController&) = delete;
    TElementParamsController& operator=(const TElementParamsController&) = delete;

    TBaseElement& Element() const { return element_; }

    std::vector<std::unique_ptr<TParameterEditor>> RefEditors;
    std::vector<std::unique_ptr<TParameterEditor>> ModelEditors;
    // Grows whenever ModelEditors is rebuilt, so the dialog knows to rebuild
    // the widgets of the model page.
    int ModelEditorsGeneration = 0;

    bool RefPageVisible = true;
    bool ModelPageVisible = false;
    TParamsPage ActivePage = TParamsPage::Reference;

    // "DataBasePanel".
    bool DataBasePanelVisible = false;
    std::vector<std::string> TypeItems; // sorted, letter case ignored
    int TypeIndex = -1;
    std::string TypeText;
    bool TypeListEditable = true;   // free text; else pick-only
    bool ManualEntryChecked = true; // checked in the form
    bool AddEnabled = true;
    bool RemoveEnabled = true;

    // "MethodsPanel".
    bool MethodsPanelVisible = false;
    std::vector<std::string> MethodItems;
    int MethodSelection = -1;

    // "AutoCalc" (true) or "Задаются вручную".
    bool AutoCalcSelected = false;

    TParamsFocus Focus;

    // What the user does in the widgets.
    void TypeTextEdited(const std::string& text); // typing in the type box
    void TypePicked(int index);                   // TypeListClick after selecting
    void SetManualEntry(bool checked);            // ManualEntryClick on a change
    void MethodPicked(int index);                 // MethodsListChange on a change
    void SetAutoCalc(bool selected);              // AutoCalcClick / RadioButton1Click

    // The handlers.
    void FormShow();
    void TypeListClick();
    void AddButtonClick();
    void RemoveButtonClick();
    void ManualEntryClick();
    void MethodsListChange();
    void AutoCalcClick();
    void RadioButton1Click();
    void CalcSheetEnter();
    // Closing with "&Принять": true when the dialog may close.
    bool FormCloseQuery();
    void BuildModelEditors();
    // Leaving a value box: false (after the message) when it holds no number;
    // the focus then goes back to it.
    bool LeaveValueBox(const TParameterEditor& row);

    TParameterEditor* FirstRow() const;

private:
    bool Apply(TParameterEditor& row);
    // Applies the reference rows in order, stopping at the first failure.
    bool ApplyRefRows();
    void ShowRows(std::vector<std::unique_ptr<TParameterEditor>>& rows);
    int FindType(const std::string& name) const;
    // The selected item, or else the item equal to the box text.
    int ChosenType() const;
    void InsertType(const std::string& name);
    void FocusRow(const TParameterEditor& row);

    TBaseElement& element_;
    char separator_;
};
