#pragma once

#include <memory>
#include <vector>

#include "model/TBaseElement.h"
#include "model/TControl.h"

class TInfoInput;
class TInfoOutput;
struct SignalLink;

// Base of the signal pins (12 x 12 pixels). The angle is the direction the
// signal flows through the pin: 0 to the right, 90 down, 180 left, 270 up.
class TInfoConnector : public TControl {
public:
    static constexpr int Size = 12;
    TInfoConnector(TBaseElement* parent, std::string name);
    ~TInfoConnector() override;

    int CurrentAngleValue() const { return angle_; }
    void SetCurrentAngleValue(int angle);
    // Pin centre on the sheet.
    TPoint Centre() const;
    // Where along the pin's box a link attaches, from its left edge.
    virtual int GetXLinkOffset() const = 0;

    // The pin's drawing in element coordinates, by its angle.
    virtual std::vector<TPrimitive> Paint() const = 0;

    // Link drag with the mouse, in sheet coordinates. A press starts the drag
    // (or, in pin mode, asks the owner to add or delete a pin); moves and the
    // release go to the pin the drag started on, Sheet().Editor.RubberLink.Pin.
    void MouseDown(TMouseButton button, TPoint at);
    void MouseMove(TPoint at);
    void MouseUp(TMouseButton button, TPoint at);

protected:
    // The schematic has changed: mark it and have it repainted.
    void Changed() const;

private:
    // Pin mode press: the owner adds a pin of this kind or deletes this pin.
    // The pin may be freed by the time it returns.
    virtual void EditOwnerPins(bool add) = 0;
    virtual void StartLinkDrag() {}
    // Links to the nearest opposite pin within reach of the release point.
    virtual void FinishLinkDrag(TPoint at) = 0;

    int angle_ = 0;
};

class TInfoOutput : public TInfoConnector {
public:
    TInfoOutput(TBaseElement* parent, std::string name);
    ~TInfoOutput() override;

    std::vector<TInfoInput*> FTargets; // inputs fed by this output
    int TriagXSize = 6;
    int TriagYSize = 12;
    void SetTriagXSize(int size);
    void SetTriagYSize(int size);

    void RedrawConnections();
    // A pin laid out anew drags its links along.
    void SetBounds(int left, int top, int width, int height) override;
    int GetXLinkOffset() const override { return Width - 1; }
    // A filled triangle pointing along the angle and a line through the box.
    std::vector<TPrimitive> Paint() const override;

private:
    void EditOwnerPins(bool add) override;
    void FinishLinkDrag(TPoint at) override;
};

class TInfoInput : public TInfoConnector {
public:
    TInfoInput(TBaseElement* parent, std::string name);
    ~TInfoInput() override;

    std::unique_ptr<SignalLink> FConnection; // the link that feeds this input

    bool IsConnected() const { return FConnection != nullptr; }
    TInfoOutput* GetSource() const;
    // Frees the present link, if any, and links the given output, if any.
    void SetSource(TInfoOutput* source);
    void RedrawConnection();
    void SetBounds(int left, int top, int width, int height) override;
    int GetXLinkOffset() const override { return 0; }
    // A line through the box along the angle.
    std::vector<TPrimitive> Paint() const override;

private:
    void EditOwnerPins(bool add) override;
    void StartLinkDrag() override;
    void FinishLinkDrag(TPoint at) override;
    void FreeConnection();
};

// Signal pins within reach of a link drag's release: the Manhattan distance to
// the pin centre is below this.
inline constexpr int LinkCatchDistance = 50;
