#include "model/ElementNames.h"

#include <map>
#include <string_view>

#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "params/ParamDef.h"

namespace {

const std::map<std::string, std::string>& Letters() {
    static const std::map<std::string, std::string> letters{
        {"TResistor", "R"},
        {"TCapacitor", "C"},
        {"TInductance", "L"},
        {"TDiode", "VD"},
        {"TSwitch", "S"},
        {"TBattery", "GB"},
        {"TSolarBattery", "GB"},
        {"TVoltageSource", "E"},
        {"TVoltageSin", "E"},
        {"TCurrentSource", "J"},
        {"TAmper", "PA"},
        {"TTransistor", "VT"},
        {"TBipolarNPN", "VT"},
        {"TThyristor", "VS"},
        {"TOptoPair", "U"},
        {"TAmplifier", "DA"},
        {"TCable", "W"},
        {"TTransformator", "T"},
        {"TTransformer", "T"},
        {"TControlledVoltage", "E"},
        {"TControlledCurrent", "J"},
        {"TVoltageSummator", "PV"},
        {"TMotor", "M"},
        {"TVarMotor", "M"},
        {"TNVarMotor", "M"},
        {"TAtd", "M"},
        {"TAtdpet", "M"},
        {"TAin", "M"},
        {"TIadd", "M"},
        {"TSyncGPN", "M"},
        {"TGPSP", "M"},
        {"TMechanical", "M"},
        {"TSelsinDat", "BE"},
        {"TSelsinRes", "BE"},
        {"TSelsinResTrans", "BE"},
        {"TPovTr", "BE"},
        {"TGround", ""},
    };
    return letters;
}

bool IsBlock(const TBaseElement& e) {
    return e.FConnectors.empty();
}

} // namespace

std::string ClassLetter(const TBaseElement& element) {
    const auto it = Letters().find(element.ClassName());
    if (it != Letters().end()) return it->second;
    return IsBlock(element) ? "A" : "X";
}

std::vector<std::string> DerivedNames(const Schematic& sheet) {
    std::map<std::string, int> counts;
    std::vector<std::string> names;
    for (const TBaseElement* e : sheet.Elements) {
        const std::string letter = ClassLetter(*e);
        names.push_back(letter.empty() ? std::string() : letter + std::to_string(++counts[letter]));
    }
    return names;
}


namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::string OutputOptionQuantity(const std::string& option) {
    // The option lists spell the same quantity in several ways (with and
    // without the dot, a Latin M or H among the Cyrillic letters).
    static const std::map<std::string, std::string> quantities{
        {"w,рад/с", "скорость, рад/с"},
        {"w,об/мин", "скорость, об/мин"},
        {"w,об/с", "скорость, об/с"},
        {"n,об/мин", "скорость, об/мин"},
        {"n,об/с", "скорость, об/с"},
        {"V,рад/с", "скорость, рад/с"},
        {"V,об/мин", "скорость, об/мин"},
        {"М вращ.,H м", "вращающий момент, Н·м"},
        {"М вращ,Н м", "вращающий момент, Н·м"},
        {"M сопр.,Н м", "момент сопротивления, Н·м"},
        {"М сопр,Н м", "момент сопротивления, Н·м"},
        {"М дин.,Н м", "динамический момент, Н·м"},
        {"Момент", "момент, Н·м"},
        {"Ток рот.обм.a, А", "ток обмотки ротора a, А"},
        {"Ток рот.обм.b, А", "ток обмотки ротора b, А"},
        {"Ток рот.обм.c, А", "ток обмотки ротора c, А"},
        {"Ток рот.обм.l, А", "ток обмотки ротора l, А"},
        {"Ток рот.обм.v, А", "ток обмотки ротора v, А"},
        {"Угол рад.", "угол, рад"},
    };
    const std::string key = Trimmed(option);
    const auto it = quantities.find(key);
    return it != quantities.end() ? it->second : key;
}

std::string TBaseElement::OutputQuantity() const {
    for (const ParamValue& v : ParamValues)
        if (v.Def && v.Def->Name && std::string_view(v.Def->Name) == "vv" && v.Def->Units &&
            v.Unit >= 0 && v.Unit < UnitCount(v.Def->Units))
            return OutputOptionQuantity(v.Def->Units[v.Unit].Text);
    return {};
}
