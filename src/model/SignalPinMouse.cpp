#include <cstdlib>

#include "model/Schematic.h"
#include "model/TInfoConnector.h"

namespace {

int Manhattan(TPoint a, TPoint b) {
    return std::abs(a.x - b.x) + std::abs(a.y - b.y);
}

// The pin whose centre is nearest to the point and within reach; the first
// one in the list wins a tie.
template <class Pin> Pin* NearestPin(const TTypedList<Pin>& pins, TPoint at) {
    Pin* best = nullptr;
    int bestDistance = LinkCatchDistance;
    for (Pin* pin : pins) {
        const int d = Manhattan(pin->Centre(), at);
        if (d < bestDistance) {
            best = pin;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace

void TInfoConnector::MouseDown(TMouseButton button, TPoint) {
    if (button != TMouseButton::Left || !Parent()) return;
    Schematic& sheet = Parent()->Sheet();
    if (sheet.Editor.PinMode) {
        sheet.Modified = true;
        EditOwnerPins(sheet.Editor.AddPinMode);
        return;
    }
    StartLinkDrag();
    TRubberLink& rubber = sheet.Editor.RubberLink;
    rubber.Pin = this;
    rubber.Start = rubber.End = Centre();
    rubber.Shown = false;
}

void TInfoConnector::MouseMove(TPoint at) {
    if (!Parent()) return;
    Schematic& sheet = Parent()->Sheet();
    TRubberLink& rubber = sheet.Editor.RubberLink;
    if (rubber.Pin != this) return;
    rubber.End = at;
    rubber.Shown = true;
    sheet.Repaint();
}

void TInfoConnector::MouseUp(TMouseButton button, TPoint at) {
    if (button != TMouseButton::Left || !Parent()) return;
    Schematic& sheet = Parent()->Sheet();
    if (sheet.Editor.RubberLink.Pin != this) return;
    sheet.Editor.RubberLink.Reset();
    sheet.Repaint();
    if (!sheet.Editor.PinMode) FinishLinkDrag(at);
}

void TInfoOutput::EditOwnerPins(bool add) {
    if (add)
        Parent()->AddOutput();
    else
        Parent()->DeleteOutput(this);
}

void TInfoOutput::FinishLinkDrag(TPoint at) {
    if (TInfoInput* target = NearestPin(Parent()->Sheet().AllInputs, at)) target->SetSource(this);
}

void TInfoInput::EditOwnerPins(bool add) {
    if (add)
        Parent()->AddInput();
    else
        Parent()->DeleteInput(this);
}

void TInfoInput::StartLinkDrag() {
    SetSource(nullptr);
}

void TInfoInput::FinishLinkDrag(TPoint at) {
    SetSource(NearestPin(Parent()->Sheet().AllOutputs, at));
}
