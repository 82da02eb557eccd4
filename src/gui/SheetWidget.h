#pragma once

#include <QWidget>

class TEditor;

// The 10000 x 10000 drawing surface. It paints the editor's schematic and
// hands every mouse event to the editor in sheet coordinates (its own
// widget coordinates); it never edits the model itself.
class TSheetWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int SheetSize = 10000;
    TSheetWidget(TEditor& editor, QWidget* parent = nullptr);
    // Shows the cursor the editor asks for at the last mouse position.
    void UpdateCursor();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    TEditor& editor_;
};
