#include "blocks/TSummingJunction.h"

#include "blocks/JunctionInputs.h"
#include "blocks/StaticOutput.h"
#include "model/ClassRegistry.h"

TSummingJunction::TSummingJunction(Schematic& sheet) : TStatic(sheet) {}

TValue TSummingJunction::GetOutput() {
    return LiveOutput(this);
}

double TSummingJunction::OutputValue() {
    double sum = 0.0;
    for (int j = 0, n = int(FInputs.size()); j < n; ++j)
        sum += InputValue(j);
    return sum;
}

void TSummingJunction::AddInput() {
    CreateJunctionInput(*this);
    LayOutJunction(*this);
}

void TSummingJunction::DeleteInput(TInfoInput* input) {
    if (RemoveJunctionInput(*this, input))
        LayOutJunction(*this);
    else
        TStatic::DeleteInput(input);
}

void TSummingJunction::SaveToStrings(std::vector<std::string>& list) const {
    TStatic::SaveToStrings(list);
    AppendInputCount(*this, list);
}

int TSummingJunction::LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                                      int index) {
    const int next = TStatic::LoadFromStrings(header, list, index);
    GrowJunctionTo(*this, InputCountInHeader(*this, header, index));
    return next;
}

REGISTER_ELEMENT(TSummingJunction, TStatic);
