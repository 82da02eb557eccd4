#include "support/TestSignal.h"

#include "model/ClassRegistry.h"
#include "model/FormDescription.h"

namespace {

const bool form = [] {
    TPicture p;
    p.Width = 40;
    p.Height = 24;
    TPrimitive box;
    box.Kind = TPrimitiveKind::Rectangle;
    box.Points = {{0, 0}, {39, 23}};
    p.Items.push_back(box);
    RegisterForm({"TTestSignal", {O("Output", 38, 6)}, p, 0, 0});
    return true;
}();

} // namespace

TTestSignal::TTestSignal(Schematic& sheet) : TProducer(sheet) {}

TValue TTestSignal::GetOutput() {
    return TValue(this, &MemberGetter<TTestSignal, &TTestSignal::OutputValue>);
}

TTestSignal* PlaceTestSignal(Schematic& sheet, std::function<double(double)> of, int left,
                             int top) {
    auto* s = dynamic_cast<TTestSignal*>(CreateElementByName(sheet, "TTestSignal"));
    s->Of = std::move(of);
    s->Left = left;
    s->Top = top;
    return s;
}

REGISTER_ELEMENT(TTestSignal, TProducer);
