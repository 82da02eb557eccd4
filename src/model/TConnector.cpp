#include "model/TConnector.h"

#include "Simulation/SimModel.h"
#include "model/LineJoints.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "model/WireRoute.h"

TConnector::TConnector(TBaseElement* parent, std::string name)
    : TControl(parent, std::move(name), Size, Size) {
    if (parent) parent->Sheet().ConnectorList.Add(this);
}

TConnector::~TConnector() {
    ConnectTo(nullptr);
    if (Parent()) Parent()->Sheet().ConnectorList.Remove(this);
}

int TConnector::GetXLink() const { return Left + Width / 2 + (Parent() ? Parent()->Left : 0); }

int TConnector::GetYLink() const { return Top + Height / 2 + (Parent() ? Parent()->Top : 0); }

int TConnector::GetNodeID() const {
    if (!FLink) return -1;
    return FLink->Sheet().Nodes.IndexOf(FLink->FNode);
}

double TConnector::GetPhi() const {
    if (!FLink) return 0.0;
    // Through the element, not the wire: the element is what the caller is
    // reading anyway, while the wire is one more object to fetch.
    const Schematic& sheet = Parent() ? Parent()->Sheet() : FLink->Sheet();
    // Outside a run (a hint, a display) there is nothing to read.
    const TSimModel* run = sheet.BoundRun();
    return run ? run->Potential(FSimNode) : 0.0;
}

TElectricLine* TConnector::ConnectTo(TElectricLine* line) {
    if (FLink) {
        FLink->Forget(this);
        FLink = nullptr;
    }
    if (line) FLink = SitOnEnd(line->Attach(this, GetXLink(), GetYLink()));
    Repaint();
    return FLink;
}

// Attach takes a pin at an end up to 3 pixels away; that end is brought onto
// the pin centre, or the pin is given back when the wire cannot move there.
TElectricLine* TConnector::SitOnEnd(TElectricLine* taker) {
    if (!taker) return nullptr;
    const TPoint centre = GetLink(), at = taker->PointOf(this);
    if (at == centre) return taker;
    const TNodeSnapshot before(taker->FNode);
    taker->MoveEnd(this, centre.x - at.x, centre.y - at.y);
    if (before.JointsHold(this, centre)) {
        SettleCrossings(taker->FNode);
        return taker;
    }
    before.Restore();
    taker->Forget(this);
    return nullptr;
}

void TConnector::SetBounds(int left, int top, int width, int height) {
    const int dx = left - Left, dy = top - Top;
    TControl::SetBounds(left, top, width, height);
    if (dx != 0 || dy != 0) DragWireEnd(dx, dy);
}

void TConnector::FollowElement(int dx, int dy) { DragWireEnd(dx, dy); }

// The pin already sits at its new place. The wire end follows as the segment
// rules move it; when that would tear another joint apart (a pin at the far
// end cannot come along), the wire stays and a jog leads on to the pin.
void TConnector::DragWireEnd(int dx, int dy) {
    TElectricLine* line = FLink;
    if (!line || (dx == 0 && dy == 0)) return;
    const TPoint target = GetLink();
    const TPoint old = line->PointOf(this);
    if (old == target) return;
    const TNodeSnapshot before(line->FNode);
    line->MoveEnd(this, dx, dy);
    if (before.JointsHold(this, target)) {
        SettleCrossings(line->FNode);
        DropCoveredSegments(line->FNode);
        return;
    }
    before.Restore();
    ConnectTo(nullptr);
    ConnectTo(ExtendWire(line, old, target));
}

void TConnector::Repaint() const {
    if (Parent()) Parent()->Sheet().Repaint();
}

std::vector<TPrimitive> TConnector::Paint() const {
    std::vector<TPrimitive> out;
    if (IsConnected()) return out;
    TPen pen{clBlue, 1, TPenStyle::Solid};
    TPrimitive a;
    a.Kind = TPrimitiveKind::Line;
    a.Pen = pen;
    a.Points = {{Left, Top}, {Left + Width - 1, Top + Height - 1}};
    TPrimitive b = a;
    b.Points = {{Left + Width - 1, Top}, {Left, Top + Height - 1}};
    out.push_back(a);
    out.push_back(b);
    return out;
}
