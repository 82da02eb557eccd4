#include "gui/SheetWidget.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include "app/Editor.h"
#include "gui/SheetPainter.h"

namespace {

std::optional<TMouseButton> ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return TMouseButton::Left;
    case Qt::RightButton: return TMouseButton::Right;
    case Qt::MiddleButton: return TMouseButton::Middle;
    default: return std::nullopt;
    }
}

Qt::CursorShape ToQtCursor(TCursorShape shape) {
    switch (shape) {
    case TCursorShape::Cross: return Qt::CrossCursor;
    case TCursorShape::Drag: return Qt::DragMoveCursor;
    case TCursorShape::UpArrow: return Qt::UpArrowCursor;
    case TCursorShape::HandPoint: return Qt::PointingHandCursor;
    case TCursorShape::Default: break;
    }
    return Qt::ArrowCursor;
}

} // namespace

TSheetWidget::TSheetWidget(TEditor& editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setObjectName("PaintBox1");
    setFixedSize(SheetSize, SheetSize);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TSheetWidget::UpdateCursor() { setCursor(ToQtCursor(editor_.CursorShape())); }

void TSheetWidget::SetScale(double scale) {
    zoom_.Set(scale);
    const int size = int(SheetSize * zoom_.Scale());
    setFixedSize(size, size);
    update();
}

void TSheetWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const double s = zoom_.Scale();
    painter.scale(s, s);
    const QRectF r = event->rect();
    const QRect clip = QRectF(r.x() / s, r.y() / s, r.width() / s, r.height() / s).toAlignedRect();
    PaintSheet(painter, editor_, clip, editor_.ShowGrid ? s : 0);
}

void TSheetWidget::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier) || !ZoomRequest) {
        QWidget::wheelEvent(event);
        return;
    }
    if (event->angleDelta().y() != 0)
        ZoomRequest(event->angleDelta().y() > 0, event->position().toPoint());
    event->accept();
}

void TSheetWidget::mousePressEvent(QMouseEvent* event) {
    const auto button = ButtonOf(event->button());
    if (!button) return;
    editor_.MouseDown(*button, event->modifiers() & Qt::ShiftModifier,
                      SheetPoint(event->position()));
    UpdateCursor();
}

void TSheetWidget::mouseMoveEvent(QMouseEvent* event) {
    editor_.MouseMove(SheetPoint(event->position()));
    UpdateCursor();
}

void TSheetWidget::mouseReleaseEvent(QMouseEvent* event) {
    const auto button = ButtonOf(event->button());
    if (!button) return;
    editor_.MouseUp(*button, event->modifiers() & Qt::ShiftModifier, SheetPoint(event->position()));
    UpdateCursor();
}

void TSheetWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        editor_.Escape();
        UpdateCursor();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TSheetWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const auto hint = editor_.TooltipAt(SheetPoint(QPointF(help->pos()))))
            QToolTip::showText(help->globalPos(), QString::fromStdString(*hint), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
