#include "model/TElectricLine.h"

#include "model/Schematic.h"
#include "model/TENode.h"

TElectricLine::TElectricLine(Schematic& sheet) : sheet_(sheet) {
    sheet_.Lines.Add(this);
    FNode = new TENode;
    FNode->Segments.push_back(this);
    sheet_.Nodes.Add(FNode);
}

TElectricLine::~TElectricLine() {
    sheet_.SelectedLines.Remove(this);
    sheet_.Lines.Remove(this);
    if (FNode) {
        sheet_.Nodes.Remove(FNode);
        delete FNode;
    }
}

void TElectricLine::Deselect() {
    FSelected = false;
    sheet_.SelectedLines.Remove(this);
}
