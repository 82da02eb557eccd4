#include "model/LinkRouting.h"
#include "model/TInfoConnector.h"

namespace {

constexpr TPen PinPen{clBlack, 1, TPenStyle::Solid};

TPrimitive Line(TPoint origin, TPoint a, TPoint b) {
    TPrimitive p;
    p.Kind = TPrimitiveKind::Line;
    p.Pen = PinPen;
    p.Points = {origin + a, origin + b};
    return p;
}

TPrimitive Triangle(TPoint origin, TPoint a, TPoint b, TPoint c) {
    TPrimitive p;
    p.Kind = TPrimitiveKind::Polygon;
    p.Pen = PinPen;
    p.Brush = TBrush{true, clBlack};
    p.Points = {origin + a, origin + b, origin + c};
    return p;
}

} // namespace

// Coordinates below are in the pin's own box, shifted by its place in the element.
std::vector<TPrimitive> TInfoOutput::Paint() const {
    const TPoint o{Left, Top};
    const int w = Width, h = Height, w2 = w / 2, h2 = h / 2;
    switch (ReduceAngle(CurrentAngleValue())) {
    case 0:
        return {Triangle(o, {1, 1}, {9, 6}, {1, 11}), Line(o, {w, h2}, {0, h2})};
    case 90:
        return {Triangle(o, {w - 10, h - 10}, {w - 5, h - 2}, {w, h - 10}),
                Line(o, {w2, 0}, {w2, h})};
    case 180:
        return {Triangle(o, {11, 1}, {3, 6}, {11, 11}), Line(o, {0, h2}, {w, h2})};
    case 270:
        return {Triangle(o, {1, 11}, {6, 3}, {11, 11}), Line(o, {w2, h}, {w2, 0})};
    default:
        return {};
    }
}

std::vector<TPrimitive> TInfoInput::Paint() const {
    const TPoint o{Left, Top};
    const int w = Width, h = Height, w2 = w / 2, h2 = h / 2;
    switch (ReduceAngle(CurrentAngleValue())) {
    case 0:
        return {Line(o, {0, h2}, {w, h2})};
    case 90:
        return {Line(o, {w2, h}, {w2, 0})};
    case 180:
        return {Line(o, {w, h2}, {0, h2})};
    case 270:
        return {Line(o, {w2, 0}, {w2, h})};
    default:
        return {};
    }
}
