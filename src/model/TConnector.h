#pragma once

#include <string>
#include <vector>

#include "model/TControl.h"

class TElectricLine;

// An electrical pin of an element (8 x 8 pixels).
class TConnector : public TControl {
public:
    static constexpr int Size = 8;

    TConnector(TBaseElement* parent, std::string name);
    ~TConnector() override;

    TElectricLine* FLink = nullptr;  // the wire segment attached to the pin
    std::string FNet;                // net label of the form ("GND" on the ground)
    bool FDragging = false;
    TPoint FDragPoint;
    // Equation index of the pin's node, set by model assembly for the run.
    int FSimNode = -1;

    bool IsConnected() const { return FLink != nullptr; }
    // Pin centre on the sheet.
    int GetXLink() const;
    int GetYLink() const;
    TPoint GetLink() const { return {GetXLink(), GetYLink()}; }

    // Index of the pin's node in Nodes, -1 when unconnected.
    int GetNodeID() const;
    // Potential of the pin's node in the present run, 0 when unconnected.
    double GetPhi() const;

    // Called by the element after it moved by (dx, dy) on the sheet.
    void FollowElement(int dx, int dy);

    // Primitives in element coordinates: an X over an unconnected pin.
    std::vector<TPrimitive> Paint() const;
};
