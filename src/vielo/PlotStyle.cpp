#include "vielo/PlotStyle.h"

#include <QChart>
#include <QFont>
#include <QLegend>
#include <QPen>
#include <QValueAxis>

QColor CurveColor(int input) {
    static const QColor palette[] = {
        QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c),
        QColor(0xff, 0x7f, 0x0e), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
        QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f), QColor(0xbc, 0xbd, 0x22),
        QColor(0x17, 0xbe, 0xcf),
    };
    constexpr int count = sizeof palette / sizeof palette[0];
    return palette[((input % count) + count) % count];
}

void StyleChart(QChart* chart) {
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundPen(Qt::NoPen);
    chart->setDropShadowEnabled(false);
    chart->setMargins(QMargins(PlotMarginLeft, 4, 22, 4));
    chart->setPlotAreaBackgroundVisible(true);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    QLegend* legend = chart->legend();
    legend->setAlignment(Qt::AlignTop);
    QFont font = legend->font();
    font.setPointSizeF(10);
    legend->setFont(font);
    legend->setLabelColor(QColor(0x20, 0x20, 0x20));
}

void StyleAxis(QValueAxis* axis) {
    QFont labels = axis->labelsFont();
    labels.setPointSizeF(9);
    axis->setLabelsFont(labels);
    axis->setLabelsColor(QColor(0x30, 0x30, 0x30));
    QFont title = axis->titleFont();
    title.setPointSizeF(10);
    title.setBold(false);
    axis->setTitleFont(title);
    axis->setTitleBrush(QColor(0x20, 0x20, 0x20));
    axis->setLinePen(QPen(QColor(0x60, 0x60, 0x60), 1));
    axis->setGridLinePen(QPen(QColor(0xd8, 0xd8, 0xd8), 1));
    axis->setMinorGridLinePen(QPen(QColor(0xee, 0xee, 0xee), 1));
    axis->setMinorGridLineVisible(true);
    axis->setTickType(QValueAxis::TicksDynamic);
}
