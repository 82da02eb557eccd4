#include "model/WireHitTest.h"

#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"

TElectricLine* LineAt(const Schematic& sheet, TPoint p) {
    for (int i = sheet.Lines.Count() - 1; i >= 0; --i)
        if (sheet.Lines[i]->BoundsRect().Contains(p)) return sheet.Lines[i];
    return nullptr;
}

TConnector* ConnectorAt(const Schematic& sheet, TPoint p) {
    for (int i = sheet.ConnectorList.Count() - 1; i >= 0; --i)
        if (sheet.ConnectorList[i]->SheetRect().Contains(p)) return sheet.ConnectorList[i];
    return nullptr;
}
