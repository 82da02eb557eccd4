// Forms of the circuit elements: pins in description order and pictures whose
// leads end at the pin centres (pin box + 4). Pictures sit at (0, 0), so their
// coordinates are element coordinates.
#include "forms/PictureBuilder.h"
#include "model/FormDescription.h"

namespace {

TPicture Resistor() {
    return PictureBuilder(68, 17)
        .Line({4, 8}, {18, 8})
        .Rect({18, 3}, {50, 13})
        .Line({50, 8}, {64, 8});
}

TPicture Capacitor() {
    return PictureBuilder(46, 33)
        .Line({4, 16}, {20, 16})
        .Pen(2)
        .Line({20, 5}, {20, 27})
        .Line({26, 5}, {26, 27})
        .Pen(1)
        .Line({26, 16}, {42, 16});
}

TPicture Inductance() {
    return PictureBuilder(84, 17)
        .Line({4, 8}, {14, 8})
        .Coil({14, 8}, 4, 14, true, -1)
        .Line({70, 8}, {80, 8});
}

// A circle between a top and a bottom pin at the same x.
PictureBuilder SourceCircle(int width, int height, int x, int top, int bottom, int radius) {
    const int cy = (top + bottom) / 2;
    PictureBuilder b(width, height);
    b.Line({x, top}, {x, cy - radius}).Circle({x, cy}, radius).Line({x, cy + radius}, {x, bottom});
    return b;
}

TPicture VoltageSource() {
    // Only the plus is marked: a turned minus would read as a bar.
    return SourceCircle(33, 55, 16, 4, 50, 13).Line({16, 14}, {16, 40}).Plus({24, 10});
}

TPicture CurrentSource() {
    // The arrow points to the pin the current leaves by.
    return SourceCircle(33, 55, 16, 4, 50, 13).Arrow({16, 37}, {16, 17}, 7);
}

TPicture Battery() {
    PictureBuilder b(39, 77);
    b.Line({19, 4}, {19, 27});
    for (int y : {27, 41}) {
        b.Line({7, y}, {31, y}).Pen(3).Line({13, y + 6}, {25, y + 6}).Pen(1);
    }
    b.Line({19, 33}, {19, 41});
    return b.Line({19, 47}, {19, 72}).Plus({8, 18});
}

TPicture SolarBattery() {
    PictureBuilder b(83, 115);
    b.Line({41, 4}, {41, 51})
        .Line({29, 51}, {53, 51})
        .Pen(3)
        .Line({35, 59}, {47, 59})
        .Pen(1)
        .Line({41, 59}, {41, 110})
        .Circle({41, 55}, 22)
        .Plus({55, 14});
    // Light falling on the cell.
    b.Arrow({4, 20}, {20, 36}).Arrow({4, 32}, {19, 47});
    return b;
}

TPicture Ground() {
    return PictureBuilder(41, 28)
        .Line({20, 4}, {20, 14})
        .Pen(2)
        .Line({6, 14}, {34, 14})
        .Pen(1)
        .Line({11, 19}, {29, 19})
        .Line({16, 24}, {24, 24});
}

TPicture Amper() {
    return PictureBuilder(35, 53)
        .Line({11, 7}, {11, 17})
        .Circle({11, 27}, 10)
        .Line({11, 37}, {11, 48})
        .Text({11, 27}, "A", 13);
}

TPicture Diode() {
    return PictureBuilder(69, 25)
        .Line({4, 12}, {25, 12})
        .Polygon({{25, 3}, {43, 12}, {25, 21}}, true)
        .Pen(2)
        .Line({43, 3}, {43, 21})
        .Pen(1)
        .Line({43, 12}, {65, 12});
}

TPicture Switch() {
    // An open contact; the control pin moves the blade.
    return PictureBuilder(38, 43)
        .Line({25, 10}, {25, 17})
        .Line({25, 17}, {30, 17})
        .Line({25, 38}, {25, 32})
        .Line({25, 32}, {35, 15})
        .Line({10, 24}, {16, 24})
        .Pen(1, TPenStyle::Dash)
        .Line({16, 24}, {29, 24});
}

TFormPin Net(TFormPin pin, std::string net) {
    pin.Net = std::move(net);
    return pin;
}

const bool registered = [] {
    RegisterForm({"TResistor", {E("Connector1", 0, 4), E("Connector2", 60, 4)}, Resistor(), 0, 0});
    RegisterForm(
        {"TCapacitor", {E("Connector1", 0, 12), E("Connector2", 38, 12)}, Capacitor(), 0, 0});
    RegisterForm(
        {"TInductance", {E("Connector1", 0, 4), E("Connector2", 76, 4)}, Inductance(), 0, 0});
    RegisterForm({"TVoltageSource", {E("Plus", 12, 0), E("Minus", 12, 46)}, VoltageSource(), 0, 0});
    RegisterForm({"TCurrentSource", {E("Plus", 12, 0), E("Minus", 12, 46)}, CurrentSource(), 0, 0});
    RegisterForm({"TBattery", {E("Plus", 15, 0), E("Minus", 15, 68)}, Battery(), 0, 0});
    RegisterForm({"TSolarBattery", {E("Plus", 37, 0), E("Minus", 37, 106)}, SolarBattery(), 0, 0});
    RegisterForm({"TGround", {Net(E("Connector", 16, 0), "GND")}, Ground(), 0, 0});
    RegisterForm({"TAmper",
                  {O("Output", 22, 21), E("Connector1", 7, 3), E("Connector2", 7, 44)},
                  Amper(),
                  0,
                  0});
    RegisterForm({"TDiode", {E("Anode", 0, 8), E("Cathode", 61, 8)}, Diode(), 0, 0});
    RegisterForm({"TSwitch",
                  {E("Anode", 21, 6), E("Cathode", 21, 34), E("Control", 6, 20)},
                  Switch(),
                  0,
                  0});
    return true;
}();

} // namespace
