#pragma once

#include "model/Geometry.h"

class Schematic;
class TBaseElement;
class TConnector;
class TElectricLine;
class TInfoConnector;

// What lies under a sheet point, as the mouse finds it: the elements lie
// above the wires, the topmost element (the last in Elements) first, and an
// element's pins above its picture, signal pins before electrical ones.
struct TSheetHit {
    enum class TKind { Sheet, SignalPin, Connector, Element, Line };
    TKind Kind = TKind::Sheet;
    TBaseElement* Element = nullptr;    // the element hit or the owner of the pin hit
    TInfoConnector* SignalPin = nullptr;
    TConnector* Connector = nullptr;
    TElectricLine* Line = nullptr;
};

TSheetHit HitTest(const Schematic& sheet, TPoint p);
