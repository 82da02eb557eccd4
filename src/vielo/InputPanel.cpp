#include "vielo/InputPanel.h"

#include <QHeaderView>
#include <QPainter>
#include <cmath>

#include "vielo/PlotStyle.h"
#include "vielo/SampleSeries.h"

namespace {

QIcon Swatch(const QColor& color) {
    QPixmap pixmap(24, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 6), QPointF(21, 6));
    return QIcon(pixmap);
}

} // namespace

InputPanel::InputPanel(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(2);
    setHeaderLabels({"Вход", "Значение"});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (updating_ || column != 0) return;
        emit toggled(indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    });
}

void InputPanel::SetData(std::shared_ptr<const GrpData> data) {
    data_ = std::move(data);
    updating_ = true;
    clear();
    const int inputs = data_ ? data_->InputCount() : 0;
    for (int i = 0; i < inputs; ++i) {
        auto* item = new QTreeWidgetItem(this);
        item->setText(0, QString::fromStdString(InputName(*data_, i)));
        item->setIcon(0, Swatch(CurveColor(i)));
        item->setCheckState(0, Qt::Checked);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    updating_ = false;
}

void InputPanel::SetChecked(int input, bool checked) {
    QTreeWidgetItem* item = topLevelItem(input);
    if (!item) return;
    updating_ = true;
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    updating_ = false;
}

bool InputPanel::Checked(int input) const {
    const QTreeWidgetItem* item = topLevelItem(input);
    return item && item->checkState(0) == Qt::Checked;
}

void InputPanel::ShowValuesAt(double time) {
    if (!data_) return;
    updating_ = true;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const double v =
            std::isfinite(time) ? ValueAt(data_->Times, data_->Values[i], time) : std::nan("");
        topLevelItem(i)->setText(1, std::isfinite(v) ? QString::number(v, 'g', 6) : QString());
    }
    updating_ = false;
}
