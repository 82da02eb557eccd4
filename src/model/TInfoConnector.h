#pragma once

#include <vector>

#include "model/TControl.h"

class TInfoInput;
class TInfoOutput;
struct SignalLink;

// Base of the signal pins (12 x 12 pixels).
class TInfoConnector : public TControl {
public:
    static constexpr int Size = 12;
    TInfoConnector(TBaseElement* parent, std::string name);

    int CurrentAngleValue() const { return angle_; }
    void SetCurrentAngleValue(int angle) { angle_ = angle; }
    // Pin centre on the sheet.
    TPoint Centre() const;

private:
    int angle_ = 0;
};

class TInfoOutput : public TInfoConnector {
public:
    TInfoOutput(TBaseElement* parent, std::string name);
    ~TInfoOutput() override;

    std::vector<TInfoInput*> FTargets;  // inputs fed by this output
    int TriagXSize = 6;
    int TriagYSize = 12;

    void RedrawConnections();
};

class TInfoInput : public TInfoConnector {
public:
    TInfoInput(TBaseElement* parent, std::string name);
    ~TInfoInput() override;

    SignalLink* FConnection = nullptr;  // owned

    bool IsConnected() const { return FConnection != nullptr; }
    TInfoOutput* GetSource() const;
    void SetSource(TInfoOutput* source);
    void RedrawConnection();
};
