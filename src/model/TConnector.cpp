#include "model/TConnector.h"

#include "Simulation/SimModel.h"
#include "model/Schematic.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "model/TBaseElement.h"

TConnector::TConnector(TBaseElement* parent, std::string name)
    : TControl(parent, std::move(name), Size, Size) {
    if (parent) parent->Sheet().ConnectorList.Add(this);
}

TConnector::~TConnector() {
    if (Parent()) Parent()->Sheet().ConnectorList.Remove(this);
}

int TConnector::GetXLink() const { return Left + Width / 2 + (Parent() ? Parent()->Left : 0); }

int TConnector::GetYLink() const { return Top + Height / 2 + (Parent() ? Parent()->Top : 0); }

void TConnector::FollowElement(int, int) {}

int TConnector::GetNodeID() const {
    if (!FLink || !Parent()) return -1;
    return Parent()->Sheet().Nodes.IndexOf(FLink->FNode);
}

double TConnector::GetPhi() const {
    if (!FLink || !Parent()) return 0.0;
    return Parent()->Sheet().SimModel().Potential(FSimNode);
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
