#include "model/TInfoConnector.h"

#include <algorithm>

#include "model/Schematic.h"
#include "model/SignalLink.h"

TInfoConnector::TInfoConnector(TBaseElement* parent, std::string name)
    : TControl(parent, std::move(name), Size, Size) {}

TInfoConnector::~TInfoConnector() {
    if (Parent() && Parent()->Sheet().Editor.RubberLink.Pin == this)
        Parent()->Sheet().Editor.RubberLink.Reset();
}

void TInfoConnector::SetCurrentAngleValue(int angle) {
    angle_ = angle;
    if (Parent()) Parent()->Sheet().Repaint();
}

TPoint TInfoConnector::Centre() const {
    const TRect r = SheetRect();
    return {r.left + Width / 2, r.top + Height / 2};
}

void TInfoConnector::Changed() const {
    if (!Parent()) return;
    Parent()->Sheet().Modified = true;
    Parent()->Sheet().Repaint();
}

TInfoOutput::TInfoOutput(TBaseElement* parent, std::string name)
    : TInfoConnector(parent, std::move(name)) {
    if (parent) parent->Sheet().AllOutputs.Add(this);
}

TInfoOutput::~TInfoOutput() {
    // Each input drops its link, which takes it out of FTargets.
    while (!FTargets.empty())
        FTargets.back()->SetSource(nullptr);
    if (Parent()) Parent()->Sheet().AllOutputs.Remove(this);
}

void TInfoOutput::SetTriagXSize(int size) {
    TriagXSize = size;
    if (Parent()) Parent()->Sheet().Repaint();
}

void TInfoOutput::SetTriagYSize(int size) {
    TriagYSize = size;
    if (Parent()) Parent()->Sheet().Repaint();
}

void TInfoOutput::SetBounds(int left, int top, int width, int height) {
    TInfoConnector::SetBounds(left, top, width, height);
    RedrawConnections();
}

void TInfoOutput::RedrawConnections() {
    for (TInfoInput* target : FTargets)
        target->RedrawConnection();
}

TInfoInput::TInfoInput(TBaseElement* parent, std::string name)
    : TInfoConnector(parent, std::move(name)) {
    if (parent) parent->Sheet().AllInputs.Add(this);
}

TInfoInput::~TInfoInput() {
    SetSource(nullptr);
    if (Parent()) Parent()->Sheet().AllInputs.Remove(this);
}

TInfoOutput* TInfoInput::GetSource() const {
    return FConnection ? FConnection->Source : nullptr;
}

void TInfoInput::FreeConnection() {
    if (!FConnection) return;
    std::erase(FConnection->Source->FTargets, this);
    FConnection.reset();
}

void TInfoInput::SetSource(TInfoOutput* source) {
    const bool changes = FConnection || source;
    FreeConnection();
    if (source) {
        FConnection = std::make_unique<SignalLink>(source, this);
        source->FTargets.push_back(this);
        FConnection->Route();
    }
    if (changes) Changed();
}

void TInfoInput::SetBounds(int left, int top, int width, int height) {
    TInfoConnector::SetBounds(left, top, width, height);
    RedrawConnection();
}

void TInfoInput::RedrawConnection() {
    if (FConnection) FConnection->Route();
}
