// Forms of the semiconductor devices and converters. Pictures sit at (0, 0);
// leads end at the pin centres (pin box + 4).
#include <string>

#include "forms/PictureBuilder.h"
#include "model/FormDescription.h"

namespace {

TPicture Thyristor() {
    return PictureBuilder(71, 43)
        .Line({6, 13}, {26, 13})
        .Polygon({{26, 4}, {44, 13}, {26, 22}}, true)
        .Pen(2)
        .Line({44, 4}, {44, 22})
        .Pen(1)
        .Line({44, 13}, {67, 13})
        // The control electrode leaves from the cathode side.
        .Polyline({{44, 21}, {60, 33}, {60, 39}});
}

TPicture Transistor() {
    PictureBuilder b(45, 57);
    b.Circle({27, 28}, 16).Line({4, 28}, {20, 28});
    b.Pen(3).Line({20, 19}, {20, 37}).Pen(1);
    b.Polyline({{20, 23}, {40, 14}, {40, 4}});
    // N-P-N: the emitter arrow points away from the base.
    b.Arrow({20, 33}, {36, 40}, 6).Polyline({{36, 40}, {40, 42}, {40, 52}});
    return b;
}

TPicture Amplifier() {
    PictureBuilder b(94, 55);
    b.Polygon({{24, 5}, {24, 49}, {70, 27}}, false);
    b.Line({8, 27}, {24, 27}).Line({70, 27}, {90, 27});
    b.Polyline({{8, 51}, {24, 51}, {24, 49}});
    return b.Polyline({{90, 51}, {47, 51}, {47, 38}});
}

TPicture OptoPair() {
    PictureBuilder b(100, 69);
    b.Rect({9, 14}, {90, 55});
    // Emitting diode on the left (anode up), photodiode on the right (anode down).
    b.Line({23, 4}, {23, 27}).Polygon({{16, 27}, {30, 27}, {23, 40}}, true);
    b.Pen(2).Line({16, 40}, {30, 40}).Pen(1).Line({23, 40}, {23, 65});
    b.Line({76, 4}, {76, 27}).Pen(2).Line({69, 27}, {83, 27}).Pen(1);
    b.Polygon({{69, 40}, {83, 40}, {76, 27}}, true).Line({76, 40}, {76, 65});
    return b.Arrow({37, 30}, {60, 30}).Arrow({37, 38}, {60, 38});
}

TPicture Cable() {
    // A plug entering a socket, cable on both sides.
    return PictureBuilder(55, 17)
        .Line({4, 8}, {22, 8})
        .Rect({22, 6}, {28, 10}, true)
        .Arc({24, 2}, {36, 14}, 270, 180)
        .Line({36, 8}, {50, 8});
}

TPicture Tvf() {
    PictureBuilder b(89, 136);
    b.Rect({16, 1}, {73, 134}).Text({44, 68}, "U/f", 13);
    const int centres[12] = {6, 18, 29, 40, 52, 63, 74, 85, 96, 108, 119, 131};
    for (int i = 0; i < 12; ++i)
        b.Line({73, centres[i]}, {85, centres[i]});
    // Each channel's two pins, numbered beside them.
    for (int i = 0; i < 6; ++i)
        b.Text({66, (centres[2 * i] + centres[2 * i + 1]) / 2}, std::to_string(i + 1), 9);
    return b.Line({4, 40}, {16, 40}).Line({4, 85}, {16, 85});
}

TPicture Ain() {
    PictureBuilder b(112, 81);
    b.Rect({18, 1}, {94, 80}).Line({18, 80}, {94, 1});
    b.Text({38, 22}, "=", 18).Text({74, 58}, "~", 18);
    b.Line({4, 21}, {18, 21}).Line({4, 68}, {18, 68});
    const char* const phases[3] = {"A", "B", "C"};
    const int ys[3] = {12, 44, 77};
    for (int i = 0; i < 3; ++i)
        b.Line({94, ys[i]}, {108, ys[i]}).Text({100, ys[i] - 6}, phases[i], 9);
    return b;
}

const bool registered = [] {
    RegisterForm({"TThyristor",
                  {E("Anode", 2, 9), E("Cathode", 63, 9), E("Control", 56, 35)},
                  Thyristor(),
                  0,
                  0});
    RegisterForm({"TTransistor",
                  {E("Base", 0, 24), E("Collector", 36, 0), E("Emitter", 36, 48)},
                  Transistor(),
                  0,
                  0});
    RegisterForm({"TAmplifier",
                  {E("Uout", 86, 23), E("Uin", 4, 23), E("GndIn", 4, 47), E("GndOut", 86, 47)},
                  Amplifier(),
                  0,
                  0});
    RegisterForm(
        {"TOptoPair",
         {E("InAnode", 19, 0), E("OutCatode", 72, 0), E("InCatode", 19, 61), E("OutAnode", 72, 61)},
         OptoPair(),
         0,
         0});
    RegisterForm({"TCable", {E("Connector1", 0, 4), E("Connector2", 46, 4)}, Cable(), 0, 0});
    RegisterForm({"TTvf",
                  {E("Connector1", 81, 2), E("Connector1_", 81, 14), E("Connector2", 81, 25),
                   E("Connector2_", 81, 36), E("Connector3", 81, 48), E("Connector3_", 81, 59),
                   E("Connector4", 81, 70), E("Connector4_", 81, 81), E("Connector5", 81, 92),
                   E("Connector5_", 81, 104), E("Connector6", 81, 115), E("Connector6_", 81, 127),
                   E("U1", 0, 36), E("U2", 0, 81)},
                  Tvf(),
                  0,
                  0});
    RegisterForm({"TAin",
                  {E("U1", 0, 17), E("U2", 0, 64), E("Connector_A", 104, 8),
                   E("Connector_B", 104, 40), E("Connector_C", 104, 73)},
                  Ain(),
                  0,
                  0});
    return true;
}();

} // namespace
