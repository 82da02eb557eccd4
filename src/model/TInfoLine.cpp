#include "model/TInfoLine.h"

#include <algorithm>
#include <cstdlib>

void TInfoLine::Place(TPoint from, TPoint to) {
    From = from;
    To = to;
    Left = std::min(from.x, to.x);
    Top = std::min(from.y, to.y);
    Width = std::abs(to.x - from.x) + 1;
    Height = std::abs(to.y - from.y) + 1;
}

TPrimitive TInfoLine::Paint() const {
    TPrimitive p;
    p.Kind = TPrimitiveKind::Line;
    p.Pen = TPen{clBlack, 1, TPenStyle::Solid};
    p.Points = {From, To};
    return p;
}
