#include "gui/ParameterEditorWidget.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "params/ParameterEditor.h"

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

ParameterEditorWidget::ParameterEditorWidget(TParameterEditor& row, QWidget* parent)
    : QWidget(parent), row_(row) {
    label_ = new QLabel(Q(row.Label()), this);
    label_->setObjectName("DescriptionLabel");
    label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label_->setGeometry(0, 0, 249, RowHeight);
    label_->setToolTip(label_->text());

    value_ = new QLineEdit(this);
    value_->setObjectName("ValueEdit");
    value_->setGeometry(272, 0, 89, RowHeight);
    value_->installEventFilter(this);
    label_->setBuddy(value_);

    units_ = new QComboBox(this);
    units_->setObjectName("GainsBox");
    units_->setGeometry(368, 0, 105, RowHeight);
    for (const std::string& text : row.UnitTexts)
        units_->addItem(Q(text));
    if (!row.ValueVisible) label_->setBuddy(units_);

    connect(value_, &QLineEdit::textEdited, this,
            [this](const QString& text) { row_.Text = text.toStdString(); });
    connect(units_, &QComboBox::activated, this, [this](int index) { row_.UnitSelection = index; });

    setFixedSize(RowWidth, RowHeight);
    Refresh();
}

void ParameterEditorWidget::Refresh() {
    const QSignalBlocker blockValue(value_);
    const QSignalBlocker blockUnits(units_);
    value_->setVisible(row_.ValueVisible);
    value_->setEnabled(row_.ValueEnabled);
    if (value_->text().toStdString() != row_.Text) value_->setText(Q(row_.Text));
    units_->setVisible(row_.UnitVisible);
    units_->setEnabled(row_.UnitEnabled);
    units_->setCurrentIndex(row_.UnitSelection);
}

void ParameterEditorWidget::FocusValue() {
    if (!row_.ValueVisible) return FocusUnit();
    value_->setFocus(Qt::OtherFocusReason);
    value_->selectAll();
}

void ParameterEditorWidget::FocusUnit() {
    units_->setFocus(Qt::OtherFocusReason);
}

bool ParameterEditorWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == value_ && event->type() == QEvent::FocusOut) {
        // Only the user leaves a box: message boxes, popups and the dialog's
        // own focus moves do not count, or two bad boxes would pass the
        // focus back and forth.
        switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::MouseFocusReason:
        case Qt::ShortcutFocusReason: emit ValueBoxLeft(this); break;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
