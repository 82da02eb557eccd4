#pragma once

#include <QTreeWidget>
#include <memory>

#include "vielo/GrpFile.h"

// The list of inputs beside the plots: a check box per curve in its colour,
// and each input's value at the cross-hair time.
class InputPanel : public QTreeWidget {
    Q_OBJECT
public:
    explicit InputPanel(QWidget* parent = nullptr);

    void SetData(std::shared_ptr<const GrpData> data);
    void SetChecked(int input, bool checked);
    bool Checked(int input) const;
    // NaN clears the values.
    void ShowValuesAt(double time);

signals:
    void toggled(int input, bool checked);

private:
    std::shared_ptr<const GrpData> data_;
    bool updating_ = false;
};
