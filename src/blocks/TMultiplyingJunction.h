#pragma once

#include "blocks/Families.h"

// Product of all inputs; inputs can be added and deleted (at least two stay).
class TMultiplyingJunction : public TStatic {
public:
    explicit TMultiplyingJunction(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
    void AddInput() override;
    void DeleteInput(TInfoInput* input) override;
    void SaveToStrings(std::vector<std::string>& list) const override;
    int LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                        int index) override;
};
