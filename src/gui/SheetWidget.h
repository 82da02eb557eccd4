#pragma once

#include <functional>

#include <QWidget>

#include "app/Zoom.h"

class TEditor;

// The 10000 x 10000 drawing surface, scaled by the view's zoom. It paints
// the editor's schematic and hands every mouse event to the editor in sheet
// coordinates; it never edits the model itself.
class TSheetWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int SheetSize = 10000;
    TSheetWidget(TEditor& editor, QWidget* parent = nullptr);
    // Shows the cursor the editor asks for at the last mouse position.
    void UpdateCursor();
    // The view scale; the widget's size follows it (SetScale).
    const TZoom& Zoom() const { return zoom_; }
    void SetScale(double scale);
    // Ctrl+wheel: asks the window to zoom in (or out) about a widget point.
    std::function<void(bool in, QPoint at)> ZoomRequest;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

private:
    TPoint SheetPoint(const QPointF& p) const { return zoom_.ToSheet(p.x(), p.y()); }
    TEditor& editor_;
    TZoom zoom_;
};
