#include "blocks/TGain.h"

#include "blocks/BlockLabels.h"
#include "model/ClassRegistry.h"

namespace {

const ParamDef GainParams[] = {
    {"Значение коэффициента", "K", nullptr, 1.0, 0, 0},
    {},
};

// The form's outline: the smallest the label ever gets.
constexpr int OutlineMinWidth = 24, OutlineHeight = 25, LabelFontSize = 12;

} // namespace

TGain::TGain(Schematic& sheet) : TStatic(sheet) {
    RefParamDefs = GainParams;
}

void TGain::Loaded() {
    TStatic::Loaded();
    LayoutLabel();
}

int TGain::LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                           int index) {
    const int next = TStatic::LoadFromStrings(header, list, index);
    LayoutLabel();
    return next;
}

void TGain::EditParams() {
    TStatic::EditParams();
    LayoutLabel();
}

void TGain::LayoutLabel() {
    const ParamValue* k = FindParam("K");
    FitBlockToPicture(*this, ValueLabelPicture(k ? ParamDisplayText(*k) : "", OutlineMinWidth,
                                               OutlineHeight, LabelFontSize));
}

void TGain::ResetState() {
    K = ParamOf("K");
}

TValue TGain::GetOutput() {
    return TValue(this, &MemberGetter<TGain, &TGain::ScaledInput>);
}

REGISTER_ELEMENT(TGain, TStatic);
