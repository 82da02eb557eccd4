#include "gui/SheetPainter.h"

#include <QPainter>
#include <QPolygon>

#include "app/Editor.h"
#include "app/SheetLabels.h"
#include "gui/PicturePainter.h"
#include "model/SignalLink.h"
#include "model/TBaseElement.h"
#include "model/TElectricLine.h"

namespace {

QRect ToQRect(const TRect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)); }

QPolygon ToPolyline(const std::vector<TPoint>& points) {
    QPolygon poly;
    for (const TPoint& p : points) poly << QPoint(p.x, p.y);
    return poly;
}

// The latest value of a display's input, just under its box: the box keeps
// its fixed caption.
void PaintDisplayValue(QPainter& painter, const TBaseElement& e, double value) {
    const QRect picture = ToQRect(e.Image()->BoundsRect()).translated(e.Left, e.Top);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 128));
    const QRect below(picture.left() - 20, picture.bottom() + 2, picture.width() + 40, 14);
    painter.drawText(below, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, QString::number(value, 'g', 6));
}

// Names and values stay upright beside the box, in a small blue hand.
void PaintLabel(QPainter& painter, const TElementLabel& label) {
    if (label.Lines.empty()) return;
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 160));
    const int lineHeight = 13, height = lineHeight * int(label.Lines.size());
    for (std::size_t i = 0; i < label.Lines.size(); ++i) {
        const QString text = QString::fromStdString(label.Lines[i]);
        const int top = label.Above ? label.At.y - height + int(i) * lineHeight
                                    : label.At.y - height / 2 + int(i) * lineHeight;
        const QRect box = label.Above ? QRect(label.At.x - 100, top, 200, lineHeight)
                                      : QRect(label.At.x, top, 200, lineHeight);
        painter.drawText(box, (label.Above ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter,
                         text);
    }
}

void PaintOverlays(QPainter& painter, const TEditor& editor) {
    // Rubber lines stand out from the black drawing: dark, dashed, thin.
    QPen rubber(QColor(60, 60, 60), 1, Qt::DashLine);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(rubber);
    if (const auto wire = editor.RubberWire(); !wire.empty()) painter.drawPolyline(ToPolyline(wire));
    if (const auto link = editor.RubberLink(); !link.empty()) painter.drawPolyline(ToPolyline(link));
    if (const auto band = editor.RubberBand()) {
        painter.setPen(QPen(QColor(40, 40, 40), 1, Qt::DotLine));
        painter.drawRect(QRect(QPoint(band->left, band->top), QPoint(band->right, band->bottom)).normalized());
    }
}

} // namespace

void PaintGrid(QPainter& painter, const QRect& clip, int step, double scale) {
    for (const int every : {1, 2, 5, 10})
        if (step * every * scale >= 6) {
            step *= every;
            break;
        }
    if (step * scale < 6) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // A cosmetic pen: one device pixel per dot at any scale.
    QPen pen(QColor(170, 170, 170), 0);
    painter.setPen(pen);
    QPolygon dots;
    const int left = clip.left() / step * step, top = clip.top() / step * step;
    for (int y = top; y <= clip.bottom() + 1; y += step)
        for (int x = left; x <= clip.right() + 1; x += step) dots << QPoint(x, y);
    painter.drawPoints(dots);
    painter.restore();
}

void PaintSheet(QPainter& painter, const TEditor& editor, const QRect& clip, double gridScale) {
    const Schematic& sheet = editor.Sheet();
    painter.fillRect(clip, Qt::white);
    if (gridScale > 0) PaintGrid(painter, clip, TEditor::GridStep, gridScale);
    PicturePainter pictures(painter);
    // A line's box is its 5-pixel strip; its end marks reach a little further.
    for (const TElectricLine* line : sheet.Lines)
        if (ToQRect(line->BoundsRect()).adjusted(-4, -4, 4, 4).intersects(clip)) pictures.Draw(line->Paint());
    pictures.Draw(PaintSignalLinks(sheet));
    const std::vector<std::string> names =
        editor.ShowLabels ? DerivedNames(sheet) : std::vector<std::string>{};
    for (int i = 0; i < int(names.size()); ++i) {
        const TBaseElement* e = sheet.Elements[i];
        if (ToQRect(e->BoundsRect()).adjusted(-100, -30, 200, 30).intersects(clip))
            PaintLabel(painter, LabelOf(*e, names[std::size_t(i)]));
    }
    for (const TBaseElement* e : sheet.Elements) {
        const QRect box = ToQRect(e->BoundsRect());
        // A display's value hangs below its box.
        if (!box.adjusted(-22, -2, 22, 18).intersects(clip)) continue;
        painter.save();
        painter.translate(e->Left, e->Top);
        pictures.Draw(e->Paint());
        painter.restore();
        if (const auto value = editor.DisplayValue(*e)) PaintDisplayValue(painter, *e, *value);
    }
    PaintOverlays(painter, editor);
}
