#include "support/TestElements.h"

#include "model/ClassRegistry.h"
#include "model/FormDescription.h"
#include "params/Units.h"

TPicture TestBoxPicture(int w, int h) {
    TPicture p;
    p.Width = w;
    p.Height = h;
    TPrimitive r;
    r.Kind = TPrimitiveKind::Rectangle;
    r.Points = {{0, 0}, {w - 1, h - 1}};
    p.Items.push_back(r);
    TPrimitive t;
    t.Kind = TPrimitiveKind::Text;
    t.Points = {{w / 2, h / 2}};
    t.Text = "T";
    p.Items.push_back(t);
    return p;
}

namespace {

TPicture BoxPicture(int w, int h) { return TestBoxPicture(w, h); }

const ParamDef TwoPinParams[] = {
    {"Сопротивление", "R", Units::Resistance, 1000, 1, 0},
    {},
};

const ParamDef PartRefs[] = {
    {"Величина", "A", Units::Voltage, 2, 2, 0},
    {"Тип кристалла", "Kind", Units::CrystalType, 0, 0, 0},
    {},
};

const ParamDef PartModel[] = {
    {"Результат", "Twice", nullptr, 0, 0, AllMethods},
    {"Только нулевой", "Zero", nullptr, 5, 0, 1u},
    {"Только первый", "One", nullptr, 6, 0, 2u},
    {"Скрытый", "Hidden", nullptr, 7, 0, 0u},
    {},
};

const char* const PartMethods[] = {"Метод 0", "Метод 1", nullptr};

const bool forms = [] {
    RegisterForm({"TTestTwoPin", {E("Connector1", 0, 4), E("Connector2", 60, 4)}, BoxPicture(68, 16), 0, 0});
    RegisterForm({"TTestThreePin",
                  {E("A", 0, 0), E("B", 30, 12), E("C", 10, 40)},
                  BoxPicture(40, 48), 0, 0});
    RegisterForm({"TTestPart", {E("Anode", 0, 8), E("Cathode", 61, 8)}, BoxPicture(69, 24), 0, 0});
    RegisterForm({"TTestBlock", {O("Output", 48, 6), I("Input", 0, 6)}, BoxPicture(60, 26), 0, 0});
    RegisterForm({"TTestTwoInputs", {O("Output", 40, 8), I("Input", 0, 0), I("Input2", 0, 16)},
                  BoxPicture(52, 30), 0, 0});
    RegisterForm({"TTestSource", {O("Output", 38, 6)}, BoxPicture(40, 24), 0, 0});
    return true;
}();

} // namespace

TTestTwoPin::TTestTwoPin(Schematic& sheet) : TBaseElement(sheet) { RefParamDefs = TwoPinParams; }

TTestThreePin::TTestThreePin(Schematic& sheet) : TBaseElement(sheet) {}

TTestPart::TTestPart(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = PartRefs;
    ModelParamDefs = PartModel;
    ModelMethods = PartMethods;
    DbSection = "TestParts";
}

bool TTestPart::CalcModelParams() {
    ++CalcCalls;
    ParamValue* a = FindParam("A");
    ParamValue* twice = FindParam("Twice");
    if (!a || !twice) return false;
    if (a->Value <= 0) return false;
    twice->Value = (MethodIndex == 1 ? 3.0 : 2.0) * a->Value;
    return true;
}

TTestBlock::TTestBlock(Schematic& sheet) : TStatic(sheet) {}

TValue TTestBlock::GetOutput() { return TValue(this, &MemberGetter<TTestBlock, &TTestBlock::Twice>); }

TTestTwoInputs::TTestTwoInputs(Schematic& sheet) : TStatic(sheet) {}

TTestSource::TTestSource(Schematic& sheet) : TProducer(sheet) {}

REGISTER_ELEMENT(TTestTwoPin, TBaseElement);
REGISTER_ELEMENT(TTestThreePin, TBaseElement);
REGISTER_ELEMENT(TTestPart, TBaseElement);
REGISTER_ELEMENT(TTestBlock, TStatic);
REGISTER_ELEMENT(TTestTwoInputs, TStatic);
REGISTER_ELEMENT(TTestSource, TProducer);
