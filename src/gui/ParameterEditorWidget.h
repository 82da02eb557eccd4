#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class TParameterEditor;

// The widgets of one parameter row: the description, the value box and the
// unit box at the form's positions. What the user types goes straight into
// the row; Refresh shows the row's present state.
class ParameterEditorWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int RowWidth = 473;
    static constexpr int RowHeight = 23;
    static constexpr int RowPitch = 24;
    static constexpr int FirstRowTop = 4;

    ParameterEditorWidget(TParameterEditor& row, QWidget* parent);

    TParameterEditor& Row() const { return row_; }
    QLineEdit* ValueEdit() const { return value_; }
    QComboBox* GainsBox() const { return units_; }
    void Refresh();
    // Gives the focus to the value box, or to the unit box when the value box is hidden.
    void FocusValue();
    void FocusUnit();

signals:
    // The value box lost the focus to another control of the dialog.
    void ValueBoxLeft(ParameterEditorWidget* row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TParameterEditor& row_;
    QLabel* label_;
    QLineEdit* value_;
    QComboBox* units_;
};
