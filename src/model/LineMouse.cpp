// Mouse rules of a wire segment, in sheet coordinates.
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"

bool TElectricLine::EndsAllowShift() const { return !FStartLink.Pin && !FEndLink.Pin; }

void TElectricLine::MouseDown(TMouseButton button, bool shift, TPoint p) {
    if (button != TMouseButton::Left) return;
    if (shift) {
        if (FSelected) Deselect();
        else Select();
        return;
    }
    captured_ = true;
    FPressPoint = p;
    FMoved = false;
}

void TElectricLine::MouseMove(TPoint p) {
    if (!captured_ || !EndsAllowShift()) return;
    const TPoint d = p - FPressPoint;
    if (TryShift(d.x, d.y)) {
        // The press point rides along, as the segment moved under the mouse.
        if (FVertical) FPressPoint.x = p.x;
        else FPressPoint.y = p.y;
        sheet_.Modified = true;
    }
    FMoved = true;
}

void TElectricLine::MouseUp(TMouseButton button, bool shift, TPoint) {
    const bool wasCaptured = captured_;
    captured_ = false;
    if (button != TMouseButton::Left || shift || !wasCaptured || FMoved) return;
    sheet_.ClearSelection();
    // Selecting may repaint through the host; copy the node's list first.
    const std::vector<TElectricLine*> node = FNode->Segments;
    for (TElectricLine* s : node) s->Select();
}
