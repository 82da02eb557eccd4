#include "gui/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace {

constexpr int Size = 20;

void Page(QPainter& p) {
    QPolygonF page;
    page << QPointF(4.5, 2.5) << QPointF(12.5, 2.5) << QPointF(16.5, 6.5) << QPointF(16.5, 17.5)
         << QPointF(4.5, 17.5);
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.drawPolyline(QPolygonF() << QPointF(12.5, 2.5) << QPointF(12.5, 6.5) << QPointF(16.5, 6.5));
}

void Folder(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 200, 90));
    p.drawPolygon(QPolygonF() << QPointF(1.5, 5.5) << QPointF(6.5, 5.5) << QPointF(8.5, 7.5)
                              << QPointF(15.5, 7.5) << QPointF(15.5, 16.5) << QPointF(1.5, 16.5));
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygonF() << QPointF(4.5, 10.5) << QPointF(18.5, 10.5) << QPointF(15.5, 16.5)
                              << QPointF(1.5, 16.5));
}

void Floppy(QPainter& p) {
    p.setPen(QPen(QColor(30, 50, 110), 1));
    p.setBrush(QColor(60, 100, 190));
    p.drawPolygon(QPolygonF() << QPointF(2.5, 2.5) << QPointF(15.5, 2.5) << QPointF(17.5, 4.5)
                              << QPointF(17.5, 17.5) << QPointF(2.5, 17.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 2.5, 9, 6));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(5.5, 11.5, 9, 6));
}

void Printer(QPainter& p) {
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 2.5, 9, 6));
    p.setBrush(QColor(180, 180, 180));
    p.drawRoundedRect(QRectF(2.5, 8.5, 15, 7), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 13.5, 9, 4));
}

// A curved arrow turning back (undo) or forward (redo).
void TurnArrow(QPainter& p, bool back) {
    p.save();
    if (!back) {
        p.translate(Size, 0);
        p.scale(-1, 1);
    }
    p.setPen(QPen(QColor(30, 80, 160), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath path(QPointF(5, 8));
    path.cubicTo(QPointF(9, 3.5), QPointF(17, 5), QPointF(16, 12));
    path.cubicTo(QPointF(15.5, 15), QPointF(12, 16.5), QPointF(9, 16));
    p.drawPath(path);
    p.setPen(QPen(QColor(30, 80, 160), 1));
    p.setBrush(QColor(30, 80, 160));
    p.drawPolygon(QPolygonF() << QPointF(2, 4) << QPointF(9, 5) << QPointF(4, 11));
    p.restore();
}

void Cross(QPainter& p, QColor color, QRectF box) {
    p.setPen(QPen(color, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
}

// A block with a signal input arrow, and a plus or minus badge.
void InputGlyph(QPainter& p, bool add) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 3.5, 9, 13));
    p.setBrush(Qt::black);
    p.drawLine(QPointF(1.5, 10), QPointF(6, 10));
    p.drawPolygon(QPolygonF() << QPointF(8.5, 10) << QPointF(4.5, 7.5) << QPointF(4.5, 12.5));
    const QColor badge = add ? QColor(20, 140, 40) : QColor(200, 30, 30);
    p.setPen(QPen(badge, 2.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(1, 3.5), QPointF(7, 3.5));
    if (add) p.drawLine(QPointF(4, 0.5), QPointF(4, 6.5));
}

void Play(QPainter& p) {
    p.setPen(QPen(QColor(10, 100, 30), 1));
    p.setBrush(QColor(40, 170, 60));
    p.drawPolygon(QPolygonF() << QPointF(5, 3) << QPointF(17, 10) << QPointF(5, 17));
}

void PauseBars(QPainter& p) {
    p.setPen(QPen(QColor(20, 60, 140), 1));
    p.setBrush(QColor(60, 110, 200));
    p.drawRect(QRectF(4.5, 3.5, 4, 13));
    p.drawRect(QRectF(11.5, 3.5, 4, 13));
}

void StopSquare(QPainter& p) {
    p.setPen(QPen(QColor(130, 20, 20), 1));
    p.setBrush(QColor(210, 50, 50));
    p.drawRect(QRectF(4.5, 4.5, 11, 11));
}

void Door(QPainter& p) {
    p.setPen(QPen(QColor(90, 60, 30), 1));
    p.setBrush(QColor(170, 120, 70));
    p.drawRect(QRectF(2.5, 2.5, 9, 15));
    p.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(9, 10), QPointF(18, 10));
    p.drawPolyline(QPolygonF() << QPointF(14.5, 6.5) << QPointF(18, 10) << QPointF(14.5, 13.5));
}

QPixmap Draw(TToolIcon kind, bool enabled) {
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case TToolIcon::New: Page(p); break;
    case TToolIcon::Open: Folder(p); break;
    case TToolIcon::Save: Floppy(p); break;
    case TToolIcon::Print: Printer(p); break;
    case TToolIcon::Undo:
        TurnArrow(p, true);
        break;
    case TToolIcon::Redo:
        TurnArrow(p, false);
        break;
    case TToolIcon::Delete: Cross(p, QColor(200, 30, 30), QRectF(4, 4, 12, 12)); break;
    case TToolIcon::AddInput: InputGlyph(p, true); break;
    case TToolIcon::DeleteInput: InputGlyph(p, false); break;
    case TToolIcon::Start: Play(p); break;
    case TToolIcon::Pause: PauseBars(p); break;
    case TToolIcon::Stop: StopSquare(p); break;
    case TToolIcon::Exit: Door(p); break;
    }
    p.end();
    if (enabled) return pixmap;
    // Disabled glyphs: grey and faint, whatever the style does.
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int g = qGray(c.rgb());
            image.setPixelColor(x, y, QColor(g, g, g, c.alpha() / 3));
        }
    return QPixmap::fromImage(image);
}

} // namespace

QIcon MakeToolIcon(TToolIcon kind) {
    QIcon icon;
    icon.addPixmap(Draw(kind, true), QIcon::Normal);
    icon.addPixmap(Draw(kind, false), QIcon::Disabled);
    return icon;
}
