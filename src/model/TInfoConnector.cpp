#include "model/TInfoConnector.h"

#include "model/Schematic.h"
#include "model/TBaseElement.h"

TInfoConnector::TInfoConnector(TBaseElement* parent, std::string name)
    : TControl(parent, std::move(name), Size, Size) {}

TPoint TInfoConnector::Centre() const {
    const TRect r = SheetRect();
    return {r.left + Width / 2, r.top + Height / 2};
}

TInfoOutput::TInfoOutput(TBaseElement* parent, std::string name)
    : TInfoConnector(parent, std::move(name)) {
    if (parent) parent->Sheet().AllOutputs.Add(this);
}

TInfoOutput::~TInfoOutput() {
    if (Parent()) Parent()->Sheet().AllOutputs.Remove(this);
}

void TInfoOutput::RedrawConnections() {}

TInfoInput::TInfoInput(TBaseElement* parent, std::string name)
    : TInfoConnector(parent, std::move(name)) {
    if (parent) parent->Sheet().AllInputs.Add(this);
}

TInfoInput::~TInfoInput() {
    if (Parent()) Parent()->Sheet().AllInputs.Remove(this);
}

TInfoOutput* TInfoInput::GetSource() const { return nullptr; }

void TInfoInput::SetSource(TInfoOutput*) {}

void TInfoInput::RedrawConnection() {}
