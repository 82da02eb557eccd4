#pragma once

#include <QDialog>

#include "blocks/TFParamsController.h"

class QLineEdit;
class TTransferFunction;

// "Параметры передаточной функции": the gain, the numerator, the denominator
// and the initial values of a transfer-function block.
class TTFParams : public QDialog {
    Q_OBJECT
public:
    explicit TTFParams(TTransferFunction& block, QWidget* parent = nullptr);

    QLineEdit* FactorEdit() const { return factor_; }
    QLineEdit* NumeratorEdit() const { return numerator_; }
    QLineEdit* DenumeratorEdit() const { return denominator_; }
    QLineEdit* ICEdit() const { return ic_; }

    // "&Принять": stores the values, or keeps the dialog open on a refused
    // denominator with the focus in its box.
    void accept() override;

private:
    TTFParamsController controller_;
    QLineEdit* factor_;
    QLineEdit* numerator_;
    QLineEdit* denominator_;
    QLineEdit* ic_;
};
