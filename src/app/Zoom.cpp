#include "app/Zoom.h"

#include <algorithm>
#include <cmath>
#include <iterator>

void TZoom::Set(double scale) { scale_ = std::clamp(scale, Min, Max); }

void TZoom::In() {
    for (double level : Levels)
        if (level > scale_ * 1.001) {
            scale_ = level;
            return;
        }
}

void TZoom::Out() {
    for (auto it = std::rbegin(Levels); it != std::rend(Levels); ++it)
        if (*it < scale_ / 1.001) {
            scale_ = *it;
            return;
        }
}

void TZoom::Fit(const TRect& drawing, int viewWidth, int viewHeight) {
    const int w = std::max(1, drawing.right - drawing.left), h = std::max(1, drawing.bottom - drawing.top);
    Set(std::min(double(viewWidth) / w, double(viewHeight) / h));
}

TPoint TZoom::ToSheet(double viewX, double viewY) const {
    return {int(std::floor(viewX / scale_)), int(std::floor(viewY / scale_))};
}
