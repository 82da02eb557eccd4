// Forms of the sensors, the controlled sources and the sinusoidal EMF: circuit
// pins with leads to their centres (pin box + 4), signal pins at the side.
#include "forms/PictureBuilder.h"
#include "model/FormDescription.h"

namespace {

TPicture VoltageSummator() {
    return PictureBuilder(31, 51)
        .Line({12, 6}, {12, 16})
        .Circle({12, 23}, 7)
        .Text({12, 23}, "V", 10)
        .Line({12, 30}, {12, 46})
        .Plus({5, 9}, 2);
}

// A diamond between the top and bottom pins, its left corner at the input.
PictureBuilder ControlledSource() {
    PictureBuilder b(36, 55);
    return b.Line({23, 4}, {23, 15})
        .Polygon({{23, 15}, {34, 26}, {23, 37}, {12, 26}}, false)
        .Line({23, 37}, {23, 50});
}

TPicture VoltageSin() {
    return PictureBuilder(46, 61)
        .Line({31, 8}, {31, 19})
        .Circle({31, 32}, 13)
        .SineWave({23, 28}, {39, 36})
        .Line({31, 45}, {31, 56})
        .Plus({22, 12});
}

const bool registered = [] {
    RegisterForm({"TVoltageSummator",
                  {E("Plus", 8, 2), E("Minus", 8, 42), O("InfoOutput1", 19, 17)},
                  VoltageSummator(),
                  0,
                  0});
    RegisterForm({"TControlledVoltage",
                  {E("Plus", 19, 0), E("Minus", 19, 46), I("Input", 0, 20)},
                  ControlledSource().Plus({23, 21}, 3).Minus({23, 31}, 3),
                  0,
                  0});
    RegisterForm({"TControlledCurrent",
                  {E("Plus", 19, 0), E("Minus", 19, 46), I("Input", 0, 20)},
                  ControlledSource().Arrow({23, 33}, {23, 19}, 5),
                  0,
                  0});
    RegisterForm({"TVoltageSin", {E("Minus", 27, 52), E("Plus", 27, 4)}, VoltageSin(), 0, 0});
    return true;
}();

} // namespace
