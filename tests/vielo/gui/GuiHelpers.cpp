#include "GuiHelpers.h"

#include <QApplication>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

void ShowOffscreen(QWidget& widget, QSize size) {
    widget.setAttribute(Qt::WA_DontShowOnScreen);
    widget.resize(size);
    widget.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void HoverMouse(QWidget* widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

std::shared_ptr<const GrpData> Shared(GrpData data) {
    return std::make_shared<const GrpData>(std::move(data));
}

int PixelsOfColour(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                40)
                ++count;
        }
    return count;
}

AxisRange ExpectedValueRange(const GrpData& data, const std::vector<int>& inputs) {
    double lo = 1e300, hi = -1e300;
    for (int i : inputs)
        for (float v : data.Values[i]) {
            lo = std::min(lo, static_cast<double>(v));
            hi = std::max(hi, static_cast<double>(v));
        }
    const double margin = 0.05 * (hi - lo);
    return {lo - margin, hi + margin};
}
