#pragma once

#include "model/Geometry.h"

class Schematic;
class TENode;

// A straight horizontal or vertical wire segment on the sheet.
class TElectricLine {
public:
    explicit TElectricLine(Schematic& sheet);
    virtual ~TElectricLine();

    Schematic& Sheet() const { return sheet_; }
    TENode* FNode = nullptr;
    bool FSelected = false;
    void Deselect();

private:
    Schematic& sheet_;
};
