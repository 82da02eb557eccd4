#include "blocks/TConst.h"

#include "blocks/BlockLabels.h"
#include "blocks/GeneratorParams.h"
#include "model/ClassRegistry.h"

namespace {

// The form's outline: the smallest the label ever gets.
constexpr int OutlineMinWidth = 26, OutlineHeight = 25, LabelFontSize = 12;

} // namespace

TConst::TConst(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = GeneratorParams::Const;
}

void TConst::Loaded() {
    TProducer::Loaded();
    LayoutLabel();
}

int TConst::LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                            int index) {
    const int next = TProducer::LoadFromStrings(header, list, index);
    LayoutLabel();
    return next;
}

void TConst::EditParams() {
    TProducer::EditParams();
    LayoutLabel();
}

void TConst::LayoutLabel() {
    const ParamValue* k = FindParam("K");
    FitBlockToPicture(*this, ValueLabelPicture(k ? ParamDisplayText(*k) : "", OutlineMinWidth,
                                               OutlineHeight, LabelFontSize));
}

void TConst::ResetState() {
    K = ParamOf("K");
}

TValue TConst::GetOutput() {
    return TValue(this, &MemberGetter<TConst, &TConst::Value>);
}

REGISTER_ELEMENT(TConst, TProducer);
