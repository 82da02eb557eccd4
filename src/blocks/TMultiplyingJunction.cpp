#include "blocks/TMultiplyingJunction.h"

#include "blocks/JunctionInputs.h"
#include "blocks/StaticOutput.h"
#include "model/ClassRegistry.h"

TMultiplyingJunction::TMultiplyingJunction(Schematic& sheet) : TStatic(sheet) {}

TValue TMultiplyingJunction::GetOutput() {
    return LiveOutput(this);
}

double TMultiplyingJunction::OutputValue() {
    double product = 1.0;
    for (int j = 0, n = int(FInputs.size()); j < n; ++j)
        product *= InputValue(j);
    return product;
}

void TMultiplyingJunction::AddInput() {
    CreateJunctionInput(*this);
    LayOutJunction(*this);
}

void TMultiplyingJunction::DeleteInput(TInfoInput* input) {
    if (RemoveJunctionInput(*this, input))
        LayOutJunction(*this);
    else
        TStatic::DeleteInput(input);
}

void TMultiplyingJunction::SaveToStrings(std::vector<std::string>& list) const {
    TStatic::SaveToStrings(list);
    AppendInputCount(*this, list);
}

int TMultiplyingJunction::LoadFromStrings(std::string_view header,
                                          const std::vector<std::string>& list, int index) {
    const int next = TStatic::LoadFromStrings(header, list, index);
    GrowJunctionTo(*this, InputCountInHeader(*this, header, index));
    return next;
}

REGISTER_ELEMENT(TMultiplyingJunction, TStatic);
