// How the parameter dialog's widgets follow its controller: user actions go
// to the handlers, and after each handler the widgets show the new state.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>

#include "gui/ElementParamsDialog.h"
#include "gui/ParameterEditorWidget.h"

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

template <class F> void TElementParams::Handle(F&& handler) {
    if (refreshing_) return;
    handler();
    Refresh();
    ApplyFocus();
}

void TElementParams::Connect() {
    connect(typeList_, &QComboBox::activated, this,
            [this](int index) { Handle([&] { controller_.TypePicked(index); }); });
    connect(addButton_, &QPushButton::clicked, this,
            [this] { Handle([&] { controller_.AddButtonClick(); }); });
    connect(removeButton_, &QPushButton::clicked, this,
            [this] { Handle([&] { controller_.RemoveButtonClick(); }); });
    connect(manualEntry_, &QCheckBox::clicked, this,
            [this](bool on) { Handle([&] { controller_.SetManualEntry(on); }); });
    connect(methodsList_, &QComboBox::activated, this,
            [this](int index) { Handle([&] { controller_.MethodPicked(index); }); });
    connect(autoCalc_, &QRadioButton::clicked, this,
            [this] { Handle([&] { controller_.SetAutoCalc(true); }); });
    connect(radioButton1_, &QRadioButton::clicked, this,
            [this] { Handle([&] { controller_.SetAutoCalc(false); }); });
    connect(pages_, &QTabWidget::currentChanged, this, &TElementParams::PageChanged);
}

void TElementParams::PageChanged(int index) {
    if (refreshing_) return;
    const bool model = pages_->widget(index) == calcSheet_;
    controller_.ActivePage = model ? TParamsPage::Model : TParamsPage::Reference;
    if (model) Handle([&] { controller_.CalcSheetEnter(); });
}

void TElementParams::RefreshTypeList() {
    const TElementParamsController& c = controller_;
    QStringList items;
    for (const std::string& t : c.TypeItems)
        items << Q(t);
    QStringList shown;
    for (int i = 0; i < typeList_->count(); ++i)
        shown << typeList_->itemText(i);
    if (typeList_->isEditable() != c.TypeListEditable) {
        typeList_->setEditable(c.TypeListEditable);
        if (c.TypeListEditable) {
            // The box keeps the typed text as it is: no completion, no new items.
            typeList_->setCompleter(nullptr);
            connect(
                typeList_->lineEdit(), &QLineEdit::textEdited, this,
                [this](const QString& text) { controller_.TypeTextEdited(text.toStdString()); });
        }
    }
    if (shown != items) {
        typeList_->clear();
        typeList_->addItems(items);
    }
    typeList_->setCurrentIndex(c.TypeIndex);
    if (c.TypeListEditable && typeList_->currentText() != Q(c.TypeText))
        typeList_->setEditText(Q(c.TypeText));
}

void TElementParams::Refresh() {
    refreshing_ = true;
    const TElementParamsController& c = controller_;
    const QSignalBlocker blockPages(pages_);
    const QSignalBlocker blockTypes(typeList_);
    const QSignalBlocker blockMethods(methodsList_);

    pages_->setTabVisible(pages_->indexOf(paramSheet_), c.RefPageVisible);
    pages_->setTabVisible(pages_->indexOf(calcSheet_), c.ModelPageVisible);
    QWidget* active = c.ActivePage == TParamsPage::Model ? calcSheet_ : paramSheet_;
    if (pages_->isTabVisible(pages_->indexOf(active))) pages_->setCurrentWidget(active);

    dataBasePanel_->setVisible(c.DataBasePanelVisible);
    RefreshTypeList();
    manualEntry_->setChecked(c.ManualEntryChecked);
    addButton_->setEnabled(c.AddEnabled);
    removeButton_->setEnabled(c.RemoveEnabled);

    methodsPanel_->setVisible(c.MethodsPanelVisible);
    methodsList_->setCurrentIndex(c.MethodSelection);
    // Neither radio button is checked until the controller selects one.
    autoCalc_->setAutoExclusive(false);
    radioButton1_->setAutoExclusive(false);
    autoCalc_->setChecked(c.ModelPageVisible && c.AutoCalcSelected);
    radioButton1_->setChecked(c.ModelPageVisible && !c.AutoCalcSelected);
    autoCalc_->setAutoExclusive(true);
    radioButton1_->setAutoExclusive(true);

    for (ParameterEditorWidget* row : refRows_)
        row->Refresh();
    if (shownGeneration_ != c.ModelEditorsGeneration) {
        RebuildRows(calcScrollBox_, c.ModelEditors, modelRows_);
        shownGeneration_ = c.ModelEditorsGeneration;
    } else {
        for (ParameterEditorWidget* row : modelRows_)
            row->Refresh();
    }
    refreshing_ = false;
}

void TElementParams::ApplyFocus() {
    const TParamsFocus focus = controller_.Focus;
    controller_.Focus = {};
    switch (focus.What) {
    case TParamsFocus::Target::None:
        return;
    case TParamsFocus::Target::TypeList:
        typeList_->setFocus(Qt::OtherFocusReason);
        return;
    case TParamsFocus::Target::MethodsList:
        methodsList_->setFocus(Qt::OtherFocusReason);
        return;
    case TParamsFocus::Target::ValueBox:
    case TParamsFocus::Target::UnitBox:
        break;
    }
    for (const auto* rows : {&refRows_, &modelRows_})
        for (ParameterEditorWidget* w : *rows)
            if (&w->Row() == focus.Row) {
                if (focus.What == TParamsFocus::Target::ValueBox)
                    w->FocusValue();
                else
                    w->FocusUnit();
                return;
            }
}

void TElementParams::ValueBoxLeft(ParameterEditorWidget* row) {
    // Checked once the focus has settled: a message box opened inside the
    // focus change would fight it.
    QPointer<ParameterEditorWidget> guard(row);
    QTimer::singleShot(0, this, [this, guard] {
        if (!guard || !isVisible() || !guard->ValueEdit()->isVisible()) return;
        if (!controller_.LeaveValueBox(guard->Row())) Handle([] {});
    });
}

void TElementParams::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Handle([&] { controller_.FormShow(); });
}

void TElementParams::accept() {
    bool ok = false;
    Handle([&] { ok = controller_.FormCloseQuery(); });
    if (ok) QDialog::accept();
}
