#include "gui/StatusPanels.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// Widths of the window's design; a caption wider in the present font widens
// its panel, and the last panel takes what is left.
constexpr int DesignWidths[TStatusPanels::Count] = {162, 50, 110, 50, 146, 50, 120, 50, 50};
constexpr int Gap = 2;

bool IsValue(int index) { return index % 2 == 1 || index == TStatusPanels::Count - 1; }

} // namespace

TStatusPanels::TStatusPanels(QWidget* parent) : QWidget(parent) {
    setObjectName("StatusBar");
    QFont f = font();
    f.setPixelSize(11);
    // A little narrower than the usual face, so that the row fits the
    // window's design width.
    f.setStretch(82);
    setFont(f);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void TStatusPanels::SetText(int index, const QString& text) {
    if (texts_[std::size_t(index)] == text) return;
    texts_[std::size_t(index)] = text;
    update();
}

int TStatusPanels::PanelWidth(int index) const {
    const int design = DesignWidths[index];
    if (IsValue(index)) return design;
    return std::max(design, fontMetrics().horizontalAdvance(texts_[std::size_t(index)]) + 6);
}

QRect TStatusPanels::PanelRect(int index) const {
    int left = 0;
    for (int i = 0; i < index; ++i) left += PanelWidth(i) + Gap;
    const int width = index == Count - 1 ? std::max(PanelWidth(index), this->width() - left) : PanelWidth(index);
    return QRect(left, 0, width, height());
}

QSize TStatusPanels::sizeHint() const { return QSize(PanelRect(Count - 1).right(), fontMetrics().height() + 6); }

void TStatusPanels::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int i = 0; i < Count; ++i) {
        const QRect r = PanelRect(i);
        if (r.left() > width()) break;
        if (IsValue(i)) {
            QStyleOptionFrame frame;
            frame.initFrom(this);
            frame.rect = r;
            frame.lineWidth = 1;
            frame.state |= QStyle::State_Sunken;
            frame.frameShape = QFrame::Panel;
            style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
        }
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(r.adjusted(4, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, texts_[std::size_t(i)]);
    }
}
