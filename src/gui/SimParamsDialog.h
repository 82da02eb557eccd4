#pragma once

#include <array>

#include <QDialog>

class QLineEdit;
class QCheckBox;
struct TRunSettings;

// "Параметры моделирования": the five run settings, shown and read in the
// user's locale. Accepting reads the edits in order, storing each at once; a
// text that is not a number keeps the dialog open on that edit.
class TSimParams : public QDialog {
    Q_OBJECT
public:
    TSimParams(TRunSettings& settings, QWidget* parent = nullptr);
    // Some setting got a new value, whether or not the dialog was accepted.
    bool Changed() const { return changed_; }
    void accept() override;

private:
    TRunSettings& settings_;
    std::array<QLineEdit*, 5> edits_{};
    QCheckBox* dumpBox_ = nullptr;
    bool changed_ = false;
};
