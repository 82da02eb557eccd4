// Forms of the function blocks and the static nonlinearities.
#include "forms/BlockPictures.h"
#include "model/FormDescription.h"

namespace {

void Register(const char* className, TPicture picture) {
    RegisterForm(
        {className, {O("Output", 48, 6), I("Input", 0, 6)}, std::move(picture), BlockBodyLeft, 0});
}

// A characteristic y(x) drawn over thin axes crossing at the body centre.
TPicture Characteristic(std::initializer_list<std::vector<TPoint>> branches) {
    PictureBuilder b = BlockBody();
    b.Pen(1, TPenStyle::Dot).Line({4, 13}, {32, 13}).Line({18, 3}, {18, 22}).Pen(1);
    for (const auto& branch : branches)
        b.Polyline(branch);
    return b;
}

const bool registered = [] {
    Register("TAbs", TextBlock("|x|"));
    Register("TSInv", TextBlock("−X"));
    Register("TSVer", TextBlock("1/X"));
    Register("TSSign", TextBlock("sign"));
    Register("Tssin", TextBlock("sin"));
    Register("TScos", TextBlock("cos"));
    Register("TStan", TextBlock("tan"));
    Register("TSasin", TextBlock("asin"));
    Register("TSacos", TextBlock("acos"));
    Register("TSatan", TextBlock("atan"));
    Register("TSsinh", TextBlock("sinh"));
    Register("TScosh", TextBlock("cosh"));
    Register("TStanh", TextBlock("tanh"));
    Register("TSexp", TextBlock("exp"));
    Register("TSln", TextBlock("ln"));
    Register("TSlg", TextBlock("lg"));
    Register("TSsqrt", TextBlock("√x"));

    Register("TLimit", Characteristic({{{4, 20}, {11, 20}, {25, 6}, {32, 6}}}));
    Register("TDeadBand",
             Characteristic({{{4, 22}, {11, 15}}, {{11, 13}, {25, 13}}, {{25, 11}, {32, 4}}}));
    Register("TRelay", Characteristic({{{4, 20}, {18, 20}, {18, 6}, {32, 6}}}));
    Register("TDeadLimit",
             Characteristic(
                 {{{4, 21}, {8, 21}, {12, 16}, {12, 13}, {24, 13}, {24, 10}, {28, 5}, {32, 5}}}));
    return true;
}();

} // namespace
