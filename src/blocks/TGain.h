#pragma once

#include "blocks/Families.h"

// Proportional block: output = K * input. Shows its factor on the sheet.
class TGain : public TStatic {
public:
    explicit TGain(Schematic& sheet);
    void Loaded() override;
    int LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                        int index) override;
    void EditParams() override;
    void ResetState() override;
    TValue GetOutput() override;

    // Shows the present "K" and fits the outline to it; the parameter dialog
    // calls it after a change.
    void LayoutLabel();

    double K = 1.0;
    double ScaledInput() { return K * InputValue(0); }
};
