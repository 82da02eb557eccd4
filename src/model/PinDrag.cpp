// Drawing a wire from a pin: the rubber wire, the route on release and its
// snapping to a nearby wire or pin.
#include <algorithm>
#include <cstdlib>

#include "model/LineJoints.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"
#include "model/WireRoute.h"

namespace {

constexpr int WireSnapReach = 15;

// Moves the free end of `last` by d; undone, with false, when a joint of the
// wire could not follow.
bool MoveFreeEnd(TElectricLine* last, TPoint d) {
    const TNodeSnapshot before(last->FNode);
    last->MoveEnd({}, d.x, d.y);
    if (before.JointsHold()) {
        SettleCrossings(last->FNode);
        return true;
    }
    before.Restore();
    return false;
}

// The nearest perpendicular segment, not of the new route, whose axis lies
// within reach of r with r between its ends, and that would take `last`.
TElectricLine* SnapTarget(const Schematic& sheet, TElectricLine* last,
                          const std::vector<TElectricLine*>& route, TPoint r) {
    TElectricLine* best = nullptr;
    int bestDistance = WireSnapReach;
    for (TElectricLine* s : sheet.Lines) {
        if (s->FVertical == last->FVertical) continue;
        if (std::find(route.begin(), route.end(), s) != route.end()) continue;
        const TPoint a = s->StartPoint(), b = s->EndPoint();
        const int distance = s->FVertical ? std::abs(a.x - r.x) : std::abs(a.y - r.y);
        const int along = s->FVertical ? r.y : r.x;
        const int from = s->FVertical ? a.y : a.x, to = s->FVertical ? b.y : b.x;
        if (distance >= bestDistance || along < from || along >= to) continue;
        const TPoint onAxis = s->FVertical ? TPoint{a.x, r.y} : TPoint{r.x, a.y};
        if (!s->JointPointFor(last, onAxis)) continue;
        best = s;
        bestDistance = distance;
    }
    return best;
}

bool SnapToWire(Schematic& sheet, TElectricLine* last, const std::vector<TElectricLine*>& route,
                TPoint r) {
    TElectricLine* target = SnapTarget(sheet, last, route, r);
    if (!target) return false;
    const TPoint a = target->StartPoint();
    const TPoint onAxis = target->FVertical ? TPoint{a.x, r.y} : TPoint{r.x, a.y};
    // Within 3 pixels of the target's free end the joint is that end itself.
    const TPoint joint = *target->JointPointFor(last, onAxis);
    if (!MoveFreeEnd(last, joint - r)) return false;
    return TElectricLine::Join(last, target, joint);
}

} // namespace

// A pin holds one segment, and the file names one segment per pin. A wire
// brought to a pin that already holds one therefore branches off that
// segment at the pin centre, where it is recorded as the branch's joint,
// instead of taking the pin from the first wire and leaving it loose there.
bool TConnector::JoinWireEnd(TElectricLine* wire) {
    if (!wire) return false;
    if (!FLink) return ConnectTo(wire) != nullptr;
    const TPoint centre = GetLink();
    if (wire->FEndLink.IsFree() && wire->EndPoint() == centre) return wire->LinkEndTo(FLink, true);
    if (wire->FStartLink.IsFree() && wire->StartPoint() == centre)
        return wire->LinkStartTo(FLink, true);
    return false;
}

namespace {

bool SnapToPin(Schematic& sheet, TElectricLine* last, TPoint r, const TConnector* origin) {
    TConnector* best = nullptr;
    long long bestDistance = TConnector::SnapReach2;
    for (TConnector* pin : sheet.ConnectorList) {
        if (pin == origin) continue;
        const long long dx = pin->GetXLink() - r.x, dy = pin->GetYLink() - r.y;
        if (dx * dx + dy * dy >= bestDistance) continue;
        best = pin;
        bestDistance = dx * dx + dy * dy;
    }
    if (!best) return false;
    const TPoint centre = best->GetLink();
    // A straight wire from a pin cannot go sideways: a jog leads on instead.
    if (centre != r && !MoveFreeEnd(last, centre - r)) last = ExtendWire(last, r, centre);
    best->JoinWireEnd(last);
    return true;
}

} // namespace

void TConnector::MouseDown(TMouseButton button, bool, TPoint p) {
    if (button != TMouseButton::Left) return;
    FDragging = true;
    FDragPoint = p;
}

void TConnector::MouseMove(TPoint p) {
    if (!FDragging) return;
    FDragPoint = p;
    Repaint();
}

void TConnector::MouseUp(TMouseButton button, bool, TPoint p) {
    if (!FDragging || button != TMouseButton::Left) return;
    FDragging = false;
    FDragPoint = p;
    FinishWire(p);
    Repaint();
}

std::vector<TPoint> TConnector::RubberWire() const {
    if (!FDragging) return {};
    return RubberWirePath(GetLink(), FDragPoint);
}

void TConnector::FinishWire(TPoint release) {
    const TPoint centre = GetLink();
    // A click on the pin draws nothing.
    if (release == centre || !Parent()) return;
    Schematic& sheet = Parent()->Sheet();
    sheet.Modified = true;
    const std::vector<TElectricLine*> route = TElectricLine::CreateRoute(sheet, centre, release);
    JoinWireEnd(SegmentWithFreeEndAt(route, centre));
    TElectricLine* last = SegmentWithFreeEndAt(route, release);
    if (!last) return;
    if (!SnapToWire(sheet, last, route, release)) SnapToPin(sheet, last, release, this);
}
