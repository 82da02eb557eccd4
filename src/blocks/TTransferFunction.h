#pragma once

#include <vector>

#include "blocks/CoefficientList.h"
#include "blocks/Families.h"

// Linear block G(s) = K * Num(s) / Den(s), coefficients in descending powers
// of s, realised in observable companion form. It has no parameter table: its
// own dialog edits the four fields, and the schematic file carries them as
// "K=", "Num=", "Den=", "IC=" lines after the element record.
class TTransferFunction : public TDynamic {
public:
    explicit TTransferFunction(Schematic& sheet);

    double K = 1.0;
    std::vector<double> Num{1.0};
    std::vector<double> Den{1.0, 1.0};
    std::vector<double> IC;

    int GetOrder() override { return int(Den.size()) - 1; }
    TMatrix GetA() override;
    TMatrix GetB() override;
    TMatrix GetC() override;
    TMatrix GetD() override;
    double GetInitialState(int i) override;

    void SaveToStrings(std::vector<std::string>& list) const override;
    int LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                        int index) override;
    void Loaded() override;
    // Asks the host for its own dialog (the block has no parameter table),
    // then shows what it stored.
    void EditParams() override;
    // A leading zero of the denominator (possible in a hand-written file)
    // would divide by zero.
    bool CheckBeforeRun() override;

    // What the dialog stores on "Принять": the coefficients in normal form
    // (NormaliseTransferFunction). A denominator without a non-zero
    // coefficient is refused with a message and nothing changes.
    bool SetCoefficients(double factor, TTransferCoefficients coefficients);

    // Shows K, the numerator and the denominator and fits the outline to them.
    void LayoutPicture();

private:
    // The numerator padded with leading zeros to the denominator's length.
    std::vector<double> AlignedNumerator() const;
    void ReportUnusableDenominator(const std::string& previous) const;
};
