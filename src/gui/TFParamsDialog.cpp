#include "gui/TFParamsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* AddRow(QFormLayout* form, const QString& label, const char* name,
                  const std::string& text) {
    auto* edit = new QLineEdit(QString::fromStdString(text));
    edit->setObjectName(name);
    edit->setMinimumWidth(240);
    auto* caption = new QLabel(label);
    caption->setBuddy(edit);
    form->addRow(caption, edit);
    return edit;
}

} // namespace

TTFParams::TTFParams(TTransferFunction& block, QWidget* parent)
    : QDialog(parent), controller_(block) {
    setObjectName("TFParams");
    setWindowTitle(QStringLiteral("Параметры передаточной функции"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* form = new QFormLayout;
    factor_ = AddRow(form, QStringLiteral("&Коэффициент:"), "FactorEdit", controller_.FactorText);
    numerator_ =
        AddRow(form, QStringLiteral("&Числитель:"), "NumeratorEdit", controller_.NumeratorText);
    denominator_ = AddRow(form, QStringLiteral("&Знаменатель:"), "DenumeratorEdit",
                          controller_.DenominatorText);
    ic_ = AddRow(form, QStringLiteral("&Начальные значения:"), "ICEdit", controller_.ICText);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("&Принять"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("OkButton");
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("&Отменить"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("CancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &TTFParams::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TTFParams::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    factor_->setFocus(Qt::OtherFocusReason);
}

void TTFParams::accept() {
    controller_.FactorText = factor_->text().toStdString();
    controller_.NumeratorText = numerator_->text().toStdString();
    controller_.DenominatorText = denominator_->text().toStdString();
    controller_.ICText = ic_->text().toStdString();
    if (controller_.Accept()) return QDialog::accept();
    denominator_->setFocus(Qt::OtherFocusReason);
    denominator_->selectAll();
}
