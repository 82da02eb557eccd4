#include "model/WireRoute.h"

#include "model/TElectricLine.h"

TElectricLine* SegmentWithFreeEndAt(const std::vector<TElectricLine*>& route, TPoint p) {
    for (TElectricLine* s : route) {
        if (s->FStartLink.IsFree() && s->StartPoint() == p) return s;
        if (s->FEndLink.IsFree() && s->EndPoint() == p) return s;
    }
    return nullptr;
}

TElectricLine* ExtendWire(TElectricLine* line, TPoint from, TPoint to) {
    const std::vector<TElectricLine*> route = TElectricLine::CreateRoute(line->Sheet(), from, to);
    TElectricLine::Join(line, SegmentWithFreeEndAt(route, from), from);
    return SegmentWithFreeEndAt(route, to);
}
