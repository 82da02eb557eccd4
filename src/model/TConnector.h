#pragma once

#include <string>
#include <vector>

#include "model/TControl.h"

class Schematic;
class TElectricLine;
enum class TMouseButton;

// An electrical pin of an element (8 x 8 pixels). A wire attaches to it at a
// segment end lying on the pin centre.
class TConnector : public TControl {
public:
    static constexpr int Size = 8;
    // Squared distance within which a released wire end snaps to a pin.
    static constexpr int SnapReach2 = 225;

    TConnector(TBaseElement* parent, std::string name);
    ~TConnector() override;

    TElectricLine* FLink = nullptr;  // the wire segment attached to the pin
    std::string FNet;                // net label of the form ("GND" on the ground)
    bool FDragging = false;          // a wire is being dragged from this pin
    TPoint FDragPoint;               // the rubber wire's loose end, on the sheet
    // Equation index of the pin's node, set by model assembly for the run.
    int FSimNode = -1;

    bool IsConnected() const { return FLink != nullptr; }
    // Pin centre on the sheet.
    int GetXLink() const;
    int GetYLink() const;
    TPoint GetLink() const { return {GetXLink(), GetYLink()}; }

    // Position of the pin's node in the schematic's Nodes; -1 without a wire.
    int GetNodeID() const;
    // Potential of the pin's node in the last run; 0 without a wire or value.
    double GetPhi() const;
    // Leaves the present segment, then asks `line` (when not null) to take the
    // pin at its centre. Returns the segment that took it, null when refused.
    TElectricLine* ConnectTo(TElectricLine* line);
    // Joins `wire`'s free end lying on the pin centre: the pin takes it when
    // it holds no segment yet, otherwise the pin's segment takes it as a
    // branch there. False when neither took it.
    bool JoinWireEnd(TElectricLine* wire);

    // A connected pin that moves drags its wire end along.
    void SetBounds(int left, int top, int width, int height) override;
    // Called by the element after it moved by (dx, dy) on the sheet.
    void FollowElement(int dx, int dy);

    // Mouse rules of a wire drag, in sheet coordinates.
    void MouseDown(TMouseButton button, bool shift, TPoint p);
    void MouseMove(TPoint p);
    void MouseUp(TMouseButton button, bool shift, TPoint p);
    // The rubber wire while dragging (polyline in sheet coordinates), else empty.
    std::vector<TPoint> RubberWire() const;

    // Primitives in element coordinates: an X over an unconnected pin.
    std::vector<TPrimitive> Paint() const;

private:
    TElectricLine* SitOnEnd(TElectricLine* taker);
    void DragWireEnd(int dx, int dy);
    void FinishWire(TPoint release);
    void Repaint() const;
};
