#pragma once

#include "model/Geometry.h"

// The view's scale. The editor works in sheet pixels whatever the scale;
// the window multiplies for painting and divides the mouse back.
class TZoom {
public:
    static constexpr double Levels[] = {0.25, 0.33, 0.5, 0.67, 0.75, 1, 1.25, 1.5, 2, 3, 4};
    static constexpr double Min = Levels[0];
    static constexpr double Max = Levels[sizeof Levels / sizeof Levels[0] - 1];

    double Scale() const { return scale_; }
    void Set(double scale);
    // The next level up or down from the present scale.
    void In();
    void Out();
    // The largest scale, within the levels' range, at which `drawing` fits a
    // view of the given size.
    void Fit(const TRect& drawing, int viewWidth, int viewHeight);

    // The sheet point under a view point (widget pixels).
    TPoint ToSheet(double viewX, double viewY) const;
    // Where the view must scroll so that the sheet coordinate `sheet` comes
    // under the viewport coordinate `viewport` at the present scale.
    double ScrollFor(double sheet, double viewport) const { return sheet * scale_ - viewport; }

private:
    double scale_ = 1;
};
