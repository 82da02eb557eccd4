#include "support/WireDrawing.h"

#include "model/ClassRegistry.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"

TBaseElement* PlaceElement(Schematic& sheet, const std::string& cls, int left, int top) {
    TBaseElement* e = CreateElementByName(sheet, cls);
    e->Left = left;
    e->Top = top;
    return e;
}

void DragWire(TConnector* pin, TPoint to) {
    pin->MouseDown(TMouseButton::Left, false, pin->GetLink());
    pin->MouseMove(to);
    pin->MouseUp(TMouseButton::Left, false, to);
}
