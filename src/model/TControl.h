#pragma once

#include <string>

#include "model/Geometry.h"
#include "model/TRotateableMetafile.h"

class TBaseElement;

// A child item of an element: its picture or one of its pins. Positions are
// element-relative pixels.
class TControl {
public:
    TControl(TBaseElement* parent, std::string name, int width, int height);
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    std::string Name;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    TBaseElement* Parent() const { return parent_; }
    TRect BoundsRect() const { return RectFromBounds(Left, Top, Width, Height); }
    // Box in sheet coordinates.
    TRect SheetRect() const;
    // Moves or resizes the control; pins override it to drag what is
    // attached to them.
    virtual void SetBounds(int left, int top, int width, int height);
    void SetPosition(int left, int top) { SetBounds(left, top, Width, Height); }

private:
    TBaseElement* parent_;
};

// The element's drawing.
class TImage : public TControl {
public:
    TImage(TBaseElement* parent, std::string name) : TControl(parent, std::move(name), 0, 0) {}
    TRotateableMetafile Picture;
    bool AutoSize = true;
    void SetPicture(TPicture picture);
    // Primitives in element coordinates, as the painter draws them.
    std::vector<TPrimitive> Primitives() const { return Picture.Play(BoundsRect()); }
};
