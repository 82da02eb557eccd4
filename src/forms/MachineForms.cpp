// Forms of the electric machines, transformers and selsyns. Pictures sit at
// (0, 0); leads run from the pin centres (pin box + 4) to the machine outline.
#include <cmath>

#include "forms/PictureBuilder.h"
#include "model/FormDescription.h"

namespace {

// Where the straight line from `from` towards the centre meets the circle.
TPoint Radial(TPoint from, TPoint centre, int r) {
    const double dx = from.x - centre.x, dy = from.y - centre.y;
    const double len = std::hypot(dx, dy);
    return {centre.x + int(std::lround(dx / len * r)), centre.y + int(std::lround(dy / len * r))};
}

// A lead from a pin straight towards the centre of a machine circle.
PictureBuilder& RadialLead(PictureBuilder& b, TPoint pin, TPoint centre, int r) {
    return b.Line(pin, Radial(pin, centre, r));
}

// A horizontal or vertical lead from a pin to the circle; radial when the pin
// lies beside the circle in both directions.
PictureBuilder& StraightLead(PictureBuilder& b, TPoint pin, TPoint centre, int r) {
    const bool vertical = std::abs(pin.x - centre.x) < std::abs(pin.y - centre.y);
    if (std::abs(vertical ? pin.x - centre.x : pin.y - centre.y) >= r)
        return RadialLead(b, pin, centre, r);
    if (vertical) {
        const int d = pin.x - centre.x;
        const int h = int(std::lround(std::sqrt(double(r * r - d * d))));
        return b.Line(pin, {pin.x, pin.y < centre.y ? centre.y - h : centre.y + h});
    }
    const int d = pin.y - centre.y;
    const int w = int(std::lround(std::sqrt(double(r * r - d * d))));
    return b.Line(pin, {pin.x < centre.x ? centre.x - w : centre.x + w, pin.y});
}

TPicture Motor() {
    PictureBuilder b(60, 77);
    b.Line({22, 4}, {22, 24}).Circle({22, 39}, 15).Line({22, 54}, {22, 72});
    // The bar under the letter marks direct current.
    b.Text({22, 36}, "M", 14).Line({16, 46}, {28, 46});
    return b.Line({37, 39}, {48, 39});
}

// A separately excited DC machine: armature circle, field coil on the left.
TPicture ExcitedMotor(int width, int height, TPoint armTop, TPoint armBottom, TPoint fieldTop,
                      TPoint fieldBottom, int shaftY, bool saturating) {
    const TPoint c{armTop.x, (armTop.y + armBottom.y) / 2};
    const int r = 14;
    PictureBuilder b(width, height);
    b.Line(armTop, {c.x, c.y - r}).Circle(c, r).Line({c.x, c.y + r}, armBottom);
    b.Text({c.x, c.y - 2}, "M", 13).Line({c.x - 5, c.y + 7}, {c.x + 5, c.y + 7});
    b.Line({c.x + r, shaftY}, {c.x + r + 10, shaftY});
    const int coilTop = c.y - 16;
    b.Line(fieldTop, {fieldTop.x, coilTop})
        .Coil({fieldTop.x, coilTop}, 4, 8, false, +1)
        .Line({fieldTop.x, coilTop + 32}, fieldBottom);
    // An iron core beside the field coil: its magnetic circuit saturates.
    if (saturating) b.Pen(2).Line({fieldTop.x + 8, coilTop}, {fieldTop.x + 8, coilTop + 32});
    return b;
}

TPicture Mechanical() {
    PictureBuilder b(106, 74);
    const TPoint motor{28, 38}, tacho{78, 38};
    const int r = 14;
    b.Polyline({{4, 5}, {28, 5}, {28, motor.y - r}})
        .Polyline({{4, 70}, {28, 70}, {28, motor.y + r}});
    b.Polyline({{102, 5}, {78, 5}, {78, tacho.y - r}});
    b.Polyline({{102, 70}, {78, 70}, {78, tacho.y + r}});
    b.Circle(motor, r).Text({28, 37}, "M", 13).Circle(tacho, r).Text({78, 38}, "ТГ", 11);
    // One shaft carries both machines.
    return b.Line({motor.x + r, 36}, {tacho.x - r, 36}).Line({motor.x + r, 40}, {tacho.x - r, 40});
}

TPicture Atd() {
    const TPoint c{44, 24};
    const int r = 19;
    PictureBuilder b(92, 48);
    b.Circle(c, r);
    for (int y : {16, 24, 32})
        StraightLead(b, {8, y}, c, r);
    b.Text({44, 18}, "M", 13).Text({44, 32}, "3~", 10);
    return b.Line({c.x + r, 23}, {80, 23});
}

TPicture Atdpet() {
    const TPoint c{28, 36};
    const int r = 17, rotor = 10;
    PictureBuilder b(68, 72);
    // The stator outside, the wound rotor inside with its leads brought out.
    b.Circle(c, r).Circle(c, rotor);
    for (int x : {20, 28, 36}) {
        StraightLead(b, {x, 4}, c, r);
        StraightLead(b, {x, 68}, c, rotor);
    }
    return b.Line({c.x + r, 34}, {56, 34});
}

TPicture Iadd() {
    const TPoint c{46, 24};
    const int r = 19;
    PictureBuilder b(89, 48);
    b.Circle(c, r);
    for (int y : {13, 20, 27, 34})
        StraightLead(b, {4, y}, c, r);
    b.Text({46, 18}, "M", 13).Text({46, 32}, "2~", 10);
    return b.Line({c.x + r, 24}, {77, 24});
}

// Two windings on a core: the secondary above it, the primary below; each
// winding's leads come from its two pins.
TPicture Transformer(int width, int height, TPoint in, TPoint out, TPoint z1, TPoint z2) {
    const int left = in.x + 5, turns = 4, pitch = 8, right = left + turns * pitch;
    const int upper = in.y + 8, lower = z1.y - 8, core = (upper + lower) / 2;
    PictureBuilder b(width, height);
    b.Polyline({in, {in.x, upper}, {left, upper}})
        .Coil({left, upper}, turns, pitch, true, -1)
        .Polyline({{right, upper}, {out.x, upper}, out});
    b.Polyline({z1, {z1.x, lower}, {left, lower}})
        .Coil({left, lower}, turns, pitch, true, +1)
        .Polyline({{right, lower}, {z2.x, lower}, z2});
    return b.Pen(2)
        .Line({left - 2, core - 2}, {right + 2, core - 2})
        .Line({left - 2, core + 2}, {right + 2, core + 2});
}

PictureBuilder Selsin(int width, int height, TPoint centre, int r, const char* label,
                      std::initializer_list<TPoint> pins) {
    PictureBuilder b(width, height);
    b.Circle(centre, r).Text(centre, label, 11);
    for (TPoint p : pins)
        StraightLead(b, p, centre, r);
    return b;
}

TPicture PovTr() {
    const TPoint c{50, 47};
    const int r = 24;
    PictureBuilder b(94, 99);
    b.Circle(c, r).Text(c, "ВТ", 12);
    for (TPoint p : {TPoint{50, 4}, TPoint{84, 8}, TPoint{89, 46}, TPoint{83, 80}, TPoint{50, 90},
                     TPoint{19, 75}, TPoint{12, 46}, TPoint{18, 13}})
        RadialLead(b, p, c, r);
    // The rotor angle comes in by the signal input at the lower left.
    return b.Pen(1, TPenStyle::Dash).Polyline({{27, 92}, {36, 92}, {36, 68}});
}

const bool registered = [] {
    RegisterForm({"TMotor",
                  {O("Output", 48, 33), E("Connector1", 18, 0), E("Connector2", 18, 68)},
                  Motor(),
                  0,
                  0});
    RegisterForm({"TVarMotor",
                  {O("Output", 53, 26), E("Connector1", 26, 0), E("Connector2", 26, 56),
                   E("Connector3", 0, 0), E("Connector4", 0, 56)},
                  ExcitedMotor(65, 64, {30, 4}, {30, 60}, {4, 4}, {4, 60}, 32, false),
                  0,
                  0});
    RegisterForm({"TNVarMotor",
                  {O("Output", 59, 30), E("Connector1", 31, 4), E("Connector2", 31, 60),
                   E("Connector3", 5, 4), E("Connector4", 5, 60)},
                  ExcitedMotor(71, 68, {35, 8}, {35, 64}, {9, 8}, {9, 64}, 36, true),
                  0,
                  0});
    RegisterForm({"TMechanical",
                  {E("Connector1", 0, 1), E("Connector2", 0, 66), E("Connector3", 98, 1),
                   E("Connector4", 98, 66)},
                  Mechanical(),
                  0,
                  0});
    RegisterForm({"TAtd",
                  {O("Output", 80, 17), E("Connector_A", 4, 12), E("Connector_B", 4, 20),
                   E("Connector_C", 4, 28)},
                  Atd(),
                  0,
                  0});
    RegisterForm({"TAtdpet",
                  {O("Output", 56, 28), E("Connector_A", 16, 0), E("Connector_B", 24, 0),
                   E("Connector_C", 32, 0), E("Connector_rA", 16, 64), E("Connector_rB", 24, 64),
                   E("Connector_rC", 32, 64)},
                  Atdpet(),
                  0,
                  0});
    RegisterForm({"TIadd",
                  {O("Output", 77, 18), E("Connector1", 0, 9), E("Connector2", 0, 16),
                   E("Connector3", 0, 23), E("Connector4", 0, 30)},
                  Iadd(),
                  0,
                  0});
    RegisterForm({"TTransformer",
                  {E("z1", 125, 101), E("z2", 166, 100), E("in", 125, 60), E("out", 166, 60)},
                  Transformer(174, 109, {129, 64}, {170, 64}, {129, 105}, {170, 104}),
                  0,
                  0});
    RegisterForm({"TTransformator",
                  {E("z1", 28, 44), E("z2", 69, 44), E("in", 29, 5), E("out", 68, 4)},
                  Transformer(77, 52, {33, 9}, {72, 8}, {32, 48}, {73, 48}),
                  0,
                  0});
    RegisterForm({"TPovTr",
                  {I("Input", 15, 86), E("Connector1", 46, 0), E("Connector2", 80, 4),
                   E("Connector3", 85, 42), E("Connector4", 79, 76), E("Connector5", 46, 86),
                   E("Connector6", 15, 71), E("Connector7", 8, 42), E("Connector8", 14, 9)},
                  PovTr(),
                  0,
                  0});
    RegisterForm(
        {"TSelsinDat",
         {I("Input", 17, 44), E("Connector_A1", 44, 6), E("Connector_A2", 51, 11),
          E("Connector_a", 40, 91), E("Connector_b", 48, 83), E("Connector_c", 57, 75)},
         Selsin(65, 99, {45, 50}, 17, "СД", {{48, 10}, {55, 15}, {44, 95}, {52, 87}, {61, 79}}),
         0,
         0});
    RegisterForm(
        {"TSelsinRes",
         {O("Output", 88, 52), E("Connector_a", 47, 87), E("Connector_b", 55, 93),
          E("Connector_c", 62, 100), E("Connector_A1", 53, 19), E("Connector_A2", 58, 12)},
         Selsin(100, 108, {58, 58}, 20, "СП", {{51, 91}, {59, 97}, {66, 104}, {57, 23}, {62, 16}})
             .Line({78, 58}, {88, 58}),
         0,
         0});
    RegisterForm(
        {"TSelsinResTrans",
         {I("Input", 9, 45), E("Connector_a", 33, 79), E("Connector_b", 42, 86),
          E("Connector_c", 51, 91), E("Connector_A1", 37, 11), E("Connector_A2", 47, 5)},
         Selsin(60, 99, {42, 51}, 17, "СТ", {{37, 83}, {46, 90}, {55, 95}, {41, 15}, {51, 9}})
             .Line({21, 51}, {25, 51}),
         0,
         0});
    return true;
}();

} // namespace
