#include "gui/SimParamsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "Simulation/RunSettings.h"

namespace {

struct TField {
    const char* Label;
    const char* Edit;
    double TRunSettings::*Value;
};

const TField Fields[] = {
    {"Длительность моделирования:", "TimeEdit", &TRunSettings::T},
    {"Шаг моделирования:", "hEdit", &TRunSettings::h},
    {"Приращение вычисления производной:", "prEdit", &TRunSettings::pr},
    {"Точность решения:", "TNCEdit", &TRunSettings::TNC},
    {"Шаг вывода графиков:", "GraphStepEdit", &TRunSettings::GS},
};

// The user's locale first; a number typed with "." is understood as well.
bool ReadNumber(const QString& text, double& value) {
    bool ok = false;
    value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok) value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

} // namespace

TSimParams::TSimParams(TRunSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
    setObjectName("SimParams");
    setWindowTitle(QStringLiteral("Параметры моделирования"));
    resize(342, 230);
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (std::size_t i = 0; i < std::size(Fields); ++i) {
        auto* edit = new QLineEdit(QLocale().toString(settings_.*Fields[i].Value, 'g', 15));
        edit->setObjectName(Fields[i].Edit);
        auto* label = new QLabel(QString::fromUtf8(Fields[i].Label));
        label->setBuddy(edit);
        form->addRow(label, edit);
        edits_[i] = edit;
    }
    // Not saved with the schematic: the dump of a large model is gigabytes.
    dumpBox_ = new QCheckBox(QStringLiteral("Записывать debug.txt и для больших моделей"));
    dumpBox_->setObjectName("DumpLargeModelsBox");
    dumpBox_->setChecked(settings_.DumpLargeModels);
    form->addRow(dumpBox_);
    auto* buttons = new QDialogButtonBox;
    QPushButton* accept = buttons->addButton(QStringLiteral("&Принять"), QDialogButtonBox::AcceptRole);
    accept->setObjectName("AcceptButton");
    accept->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("&Отменить"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("CancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &TSimParams::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSimParams::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(buttons);
}

void TSimParams::accept() {
    for (std::size_t i = 0; i < std::size(Fields); ++i) {
        edits_[i]->setFocus();
        double value = 0;
        if (!ReadNumber(edits_[i]->text(), value)) return;
        double& field = settings_.*Fields[i].Value;
        if (field != value) changed_ = true;
        field = value;
    }
    settings_.DumpLargeModels = dumpBox_->isChecked();
    QDialog::accept();
}
