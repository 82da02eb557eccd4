#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>
#include <vector>

#include "params/ElementParamsController.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QWidget;
class ParameterEditorWidget;
class TBaseElement;

// "Параметры модели компонента": the modal dialog of an element's parameters.
// The widgets only show the controller's state and pass on what the user
// does; every decision is the controller's.
class TElementParams : public QDialog {
    Q_OBJECT
public:
    TElementParams(TBaseElement& element, char decimalSeparator, QWidget* parent = nullptr);
    ~TElementParams() override;

    TElementParamsController& Controller() { return controller_; }
    const std::vector<ParameterEditorWidget*>& RefRows() const { return refRows_; }
    const std::vector<ParameterEditorWidget*>& ModelRows() const { return modelRows_; }

    // "&Принять": closes only when the controller lets it.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildReferencePage();
    QWidget* BuildModelPage();
    void Connect();
    // Shows the controller's state in the widgets.
    void Refresh();
    void RefreshTypeList();
    void RebuildRows(QScrollArea* box, const std::vector<std::unique_ptr<TParameterEditor>>& rows,
                     std::vector<ParameterEditorWidget*>& widgets);
    void ApplyFocus();
    // Runs a handler, then shows its results.
    template <class F> void Handle(F&& handler);
    void ValueBoxLeft(ParameterEditorWidget* row);
    void PageChanged(int index);

    TElementParamsController controller_;
    int shownGeneration_ = -1;
    bool refreshing_ = false;

    QTabWidget* pages_ = nullptr;
    QWidget* paramSheet_ = nullptr;
    QWidget* calcSheet_ = nullptr;
    QWidget* dataBasePanel_ = nullptr;
    QComboBox* typeList_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QCheckBox* manualEntry_ = nullptr;
    QScrollArea* paramScrollBox_ = nullptr;
    QWidget* methodsPanel_ = nullptr;
    QComboBox* methodsList_ = nullptr;
    QRadioButton* autoCalc_ = nullptr;
    QRadioButton* radioButton1_ = nullptr;
    QScrollArea* calcScrollBox_ = nullptr;
    std::vector<ParameterEditorWidget*> refRows_;
    std::vector<ParameterEditorWidget*> modelRows_;
};

// The decimal separator of the user's locale ("." when it is not one byte).
char UserDecimalSeparator();
