#include "model/TElectricLine.h"

#include <algorithm>

#include "Simulation/SimModel.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "params/ValueText.h"

TElectricLine::TElectricLine(Schematic& sheet, int left, int top, bool vertical, int length)
    : Left(left), Top(top), FVertical(vertical), sheet_(sheet) {
    (vertical ? Height : Width) = length;
    sheet_.Lines.Add(this);
    NewNode(sheet_, this);
}

TElectricLine::~TElectricLine() {
    sheet_.SelectedLines.Remove(this);
    const std::vector<TElectricLine*> neighbours = Neighbours();
    RebuildAfterDelete(this);
    sheet_.Lines.Remove(this);
    for (TElectricLine* n : neighbours) n->Forget(this);
    for (TConnector* pin : {FStartLink.Pin, FEndLink.Pin})
        if (pin && pin->FLink == this) pin->FLink = nullptr;
    FTaps.clear();
}

TPoint TElectricLine::StartPoint() const {
    return FVertical ? TPoint{Left + 2, Top} : TPoint{Left, Top + 2};
}

TPoint TElectricLine::EndPoint() const {
    return FVertical ? TPoint{Left + 2, Top + Height} : TPoint{Left + Width, Top + 2};
}

TPoint TElectricLine::PointOf(TWireLink control) const {
    if (control == FStartLink) return StartPoint();
    if (control == FEndLink) return EndPoint();
    for (const TCLine& t : FTaps)
        if (t.Control == control.Line) return {t.x, t.y};
    return StartPoint();
}

bool TElectricLine::Holds(TWireLink control) const {
    if (control.IsFree()) return false;
    if (control == FStartLink || control == FEndLink) return true;
    return control.Line && std::any_of(FTaps.begin(), FTaps.end(), [&](const TCLine& t) {
               return t.Control == control.Line;
           });
}

TCLine* TElectricLine::FindTap(const TElectricLine* control) {
    for (TCLine& t : FTaps)
        if (t.Control == control) return &t;
    return nullptr;
}

std::vector<TElectricLine*> TElectricLine::Neighbours() const {
    std::vector<TElectricLine*> out;
    auto add = [&out](TElectricLine* s) {
        if (s && std::find(out.begin(), out.end(), s) == out.end()) out.push_back(s);
    };
    add(FStartLink.Line);
    add(FEndLink.Line);
    for (const TCLine& t : FTaps) add(t.Control);
    return out;
}

bool TElectricLine::OnAxis(TPoint p) const {
    const TPoint s = StartPoint(), e = EndPoint();
    if (FVertical) return p.x == s.x && p.y >= s.y && p.y <= e.y;
    return p.y == s.y && p.x >= s.x && p.x <= e.x;
}

void TElectricLine::Forget(TWireLink control) {
    if (control.IsFree()) return;
    if (FStartLink == control) FStartLink = {};
    if (FEndLink == control) FEndLink = {};
    if (control.Line)
        std::erase_if(FTaps, [&](const TCLine& t) { return t.Control == control.Line; });
}

void TElectricLine::Select() {
    FSelected = true;
    if (!sheet_.SelectedLines.Contains(this)) sheet_.SelectedLines.Add(this);
    FPenColor = clRed;
    FPenWidth = 2;
    sheet_.Repaint();
}

void TElectricLine::Deselect() {
    FSelected = false;
    sheet_.SelectedLines.Remove(this);
    FPenColor = clBlack;
    FPenWidth = 1;
    sheet_.Repaint();
}

std::string TElectricLine::HintText() const {
    std::string text = "Узел: " + std::to_string(sheet_.Nodes.IndexOf(FNode));
    const TSimModel* run = sheet_.BoundRun();
    const std::vector<double>* phi = run ? &run->Phi : nullptr;
    if (phi && FNode && FNode->SimIndex >= 0 && FNode->SimIndex < int(phi->size())) {
        text += " Потенциал: ";
        text += FormatReal((*phi)[std::size_t(FNode->SimIndex)]);
    }
    return text;
}

std::vector<TPoint> RubberWirePath(TPoint a, TPoint b) {
    const int mid = (a.x + b.x) / 2;
    return {b, {mid, b.y}, {mid, a.y}, a};
}
