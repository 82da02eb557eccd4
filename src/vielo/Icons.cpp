#include "vielo/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

const QColor Ink(0x33, 0x3b, 0x45);
const QColor Accent(0x1f, 0x77, 0xb4);

// Drawn on a 32 by 32 grid, at two sizes for crisp small and large bars.
QIcon Drawn(const char* themeName, const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (int size : {32, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        p.setPen(QPen(Ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        draw(p);
        icon.addPixmap(pixmap);
    }
    return QIcon::fromTheme(themeName, icon);
}

void Magnifier(QPainter& p) {
    p.drawEllipse(QPointF(13, 13), 8.5, 8.5);
    p.setPen(QPen(Ink, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19.5, 19.5), QPointF(27, 27));
    p.setPen(QPen(Accent, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 13), QPointF(17, 13));
}

} // namespace

namespace Icons {

QIcon Open() {
    return Drawn("document-open", [](QPainter& p) {
        p.setBrush(QColor(0xf2, 0xc9, 0x4c));
        p.drawPolygon(QPolygonF({{3, 8}, {12, 8}, {15, 11}, {29, 11}, {29, 26}, {3, 26}}));
    });
}

QIcon Reload() {
    return Drawn("view-refresh", [](QPainter& p) {
        p.setPen(QPen(Accent, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(Accent);
        p.drawPolygon(QPolygonF({{19, 2}, {27, 8}, {18, 12}}));
    });
}

QIcon SavePicture() {
    return Drawn("document-save", [](QPainter& p) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 5, 26, 22));
        p.setPen(QPen(Accent, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{6, 22}, {11, 14}, {16, 19}, {21, 10}, {26, 16}}));
    });
}

QIcon ExportTable() {
    return Drawn("x-office-spreadsheet", [](QPainter& p) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 5, 24, 22));
        p.setPen(QPen(Ink, 1.4));
        for (double y : {11.0, 16.5, 22.0})
            p.drawLine(QPointF(4, y), QPointF(28, y));
        p.drawLine(QPointF(12, 5), QPointF(12, 27));
        p.drawLine(QPointF(20, 5), QPointF(20, 27));
    });
}

QIcon Fit() {
    return Drawn("zoom-fit-best", [](QPainter& p) {
        p.drawRect(QRectF(9, 9, 14, 14));
        p.setPen(QPen(Accent, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{3, 9}, {3, 3}, {9, 3}}));
        p.drawPolyline(QPolygonF({{23, 3}, {29, 3}, {29, 9}}));
        p.drawPolyline(QPolygonF({{29, 23}, {29, 29}, {23, 29}}));
        p.drawPolyline(QPolygonF({{9, 29}, {3, 29}, {3, 23}}));
    });
}

QIcon Previous() {
    return Drawn("go-previous", [](QPainter& p) {
        p.setPen(QPen(Accent, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath path(QPointF(9, 12));
        path.lineTo(21, 12);
        path.cubicTo(QPointF(30, 12), QPointF(30, 26), QPointF(21, 26));
        path.lineTo(12, 26);
        p.drawPath(path);
        p.drawPolyline(QPolygonF({{14, 6}, {8, 12}, {14, 18}}));
    });
}

QIcon ZoomIn() {
    return Drawn("zoom-in", [](QPainter& p) {
        Magnifier(p);
        p.drawLine(QPointF(13, 9), QPointF(13, 17));
    });
}

QIcon ZoomOut() {
    return Drawn("zoom-out", Magnifier);
}

QIcon Stacked() {
    return Drawn("view-split-top-bottom", [](QPainter& p) {
        p.drawRect(QRectF(3, 3, 26, 12));
        p.drawRect(QRectF(3, 17, 26, 12));
        p.setPen(QPen(Accent, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{6, 12}, {12, 7}, {18, 10}, {26, 6}}));
        p.setPen(QPen(QColor(0xd6, 0x27, 0x28), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{6, 26}, {11, 26}, {11, 20}, {26, 20}}));
    });
}

} // namespace Icons
