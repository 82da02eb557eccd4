#include "gui/ElementParamsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/ParameterEditorWidget.h"

namespace {

QScrollArea* NewScrollBox(const char* name, QWidget* parent) {
    auto* box = new QScrollArea(parent);
    box->setObjectName(name);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setWidgetResizable(false);
    box->setMinimumWidth(ParameterEditorWidget::RowWidth + 24);
    return box;
}

// The buttons take the focus only by Tab: a click on "&Принять" leaves the
// focus in the value box, so a bad value is reported once, by the close.
QPushButton* NewButton(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    return b;
}

} // namespace

char UserDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 128) return char(point.at(0).unicode());
    return '.';
}

TElementParams::TElementParams(TBaseElement& element, char decimalSeparator, QWidget* parent)
    : QDialog(parent), controller_(element, decimalSeparator) {
    setObjectName("ElementParams");
    setWindowTitle(QStringLiteral("Параметры модели компонента"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(502, 396);

    pages_ = new QTabWidget(this);
    pages_->setObjectName("Pages");
    paramSheet_ = BuildReferencePage();
    calcSheet_ = BuildModelPage();
    pages_->addTab(paramSheet_, QStringLiteral("Справочные параметры"));
    pages_->addTab(calcSheet_, QStringLiteral("Математическая модель"));

    auto* ok = NewButton(QStringLiteral("&Принять"), "OkButton", this);
    ok->setDefault(true);
    auto* cancel = NewButton(QStringLiteral("&Отменить"), "CancelButton", this);
    connect(ok, &QPushButton::clicked, this, &TElementParams::accept);
    connect(cancel, &QPushButton::clicked, this, &TElementParams::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttons);

    RebuildRows(paramScrollBox_, controller_.RefEditors, refRows_);
    Connect();
    Refresh();
}

TElementParams::~TElementParams() = default;

QWidget* TElementParams::BuildReferencePage() {
    auto* page = new QWidget;
    page->setObjectName("ParamSheet");
    dataBasePanel_ = new QWidget(page);
    dataBasePanel_->setObjectName("DataBasePanel");
    auto* mark = new QLabel(QStringLiteral("Марка:"), dataBasePanel_);
    typeList_ = new QComboBox(dataBasePanel_);
    typeList_->setObjectName("TypeList");
    typeList_->setMaxVisibleItems(30);
    typeList_->setInsertPolicy(QComboBox::NoInsert);
    typeList_->setMinimumWidth(160);
    mark->setBuddy(typeList_);
    addButton_ = NewButton(QStringLiteral("&Добавить"), "AddButton", dataBasePanel_);
    removeButton_ = NewButton(QStringLiteral("&Удалить"), "RemoveButton", dataBasePanel_);
    manualEntry_ = new QCheckBox(QStringLiteral("&Задать параметры вручную"), dataBasePanel_);
    manualEntry_->setObjectName("ManualEntry");
    auto* top = new QHBoxLayout;
    top->addWidget(mark);
    top->addWidget(typeList_, 1);
    top->addWidget(addButton_);
    top->addWidget(removeButton_);
    auto* panel = new QVBoxLayout(dataBasePanel_);
    panel->setContentsMargins(4, 4, 4, 4);
    panel->addLayout(top);
    panel->addWidget(manualEntry_);

    paramScrollBox_ = NewScrollBox("ParamScrollBox", page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(dataBasePanel_);
    layout->addWidget(paramScrollBox_, 1);
    return page;
}

QWidget* TElementParams::BuildModelPage() {
    auto* page = new QWidget;
    page->setObjectName("CalcSheet");
    methodsPanel_ = new QWidget(page);
    methodsPanel_->setObjectName("MethodsPanel");
    auto* methodLabel = new QLabel(QStringLiteral("Тип &модели:"), methodsPanel_);
    methodsList_ = new QComboBox(methodsPanel_);
    methodsList_->setObjectName("MethodsList");
    methodLabel->setBuddy(methodsList_);
    for (const std::string& m : controller_.MethodItems)
        methodsList_->addItem(QString::fromStdString(m));
    auto* methods = new QHBoxLayout(methodsPanel_);
    methods->setContentsMargins(4, 4, 4, 4);
    methods->addWidget(methodLabel);
    methods->addWidget(methodsList_, 1);

    auto* modePanel = new QWidget(page);
    auto* modeLabel = new QLabel(QStringLiteral("Параметры модели:"), modePanel);
    autoCalc_ = new QRadioButton(
        QStringLiteral("Рассчитываются по справочным данным и/или задаются по умолчанию"),
        modePanel);
    autoCalc_->setObjectName("AutoCalc");
    radioButton1_ = new QRadioButton(QStringLiteral("Задаются вручную"), modePanel);
    radioButton1_->setObjectName("RadioButton1");
    auto* mode = new QVBoxLayout(modePanel);
    mode->setContentsMargins(4, 0, 4, 0);
    mode->addWidget(modeLabel);
    mode->addWidget(autoCalc_);
    mode->addWidget(radioButton1_);

    calcScrollBox_ = NewScrollBox("CalcScrollBox", page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(methodsPanel_);
    layout->addWidget(modePanel);
    layout->addWidget(calcScrollBox_, 1);
    return page;
}

void TElementParams::RebuildRows(QScrollArea* box,
                                 const std::vector<std::unique_ptr<TParameterEditor>>& rows,
                                 std::vector<ParameterEditorWidget*>& widgets) {
    auto* content = new QWidget;
    widgets.clear();
    int y = ParameterEditorWidget::FirstRowTop;
    for (const auto& row : rows) {
        auto* w = new ParameterEditorWidget(*row, content);
        w->move(0, y);
        y += ParameterEditorWidget::RowPitch;
        connect(w, &ParameterEditorWidget::ValueBoxLeft, this, &TElementParams::ValueBoxLeft);
        widgets.push_back(w);
    }
    content->resize(ParameterEditorWidget::RowWidth, y);
    // Replacing the content frees the old rows.
    box->setWidget(content);
}
