#include "app/SheetHit.h"

#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TInfoConnector.h"
#include "model/WireHitTest.h"

namespace {

template <class Pin> Pin* PinAt(const std::vector<Pin*>& pins, TPoint p) {
    for (auto it = pins.rbegin(); it != pins.rend(); ++it)
        if ((*it)->SheetRect().Contains(p)) return *it;
    return nullptr;
}

} // namespace

TSheetHit HitTest(const Schematic& sheet, TPoint p) {
    TSheetHit hit;
    for (int i = sheet.Elements.Count() - 1; i >= 0; --i) {
        TBaseElement* e = sheet.Elements[i];
        hit.Element = e;
        TInfoConnector* signal = PinAt(e->FInputs, p);
        if (!signal) signal = PinAt(e->FOutputs, p);
        if (signal) {
            hit.Kind = TSheetHit::TKind::SignalPin;
            hit.SignalPin = signal;
            return hit;
        }
        if (TConnector* pin = PinAt(e->FConnectors, p)) {
            hit.Kind = TSheetHit::TKind::Connector;
            hit.Connector = pin;
            return hit;
        }
        if (e->BoundsRect().Contains(p)) {
            hit.Kind = TSheetHit::TKind::Element;
            return hit;
        }
    }
    hit.Element = nullptr;
    if (TElectricLine* line = LineAt(sheet, p)) {
        hit.Kind = TSheetHit::TKind::Line;
        hit.Line = line;
    }
    return hit;
}
