#include "model/LinkRouting.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

constexpr int StubLength = 6;

int Half(int v) {
    return v / 2;
}
int Mid(int a, int b) {
    return (a + b) / 2;
}
// The loop offset of 62.5 pixels, truncated towards zero after the addition.
int LoopLine(int v) {
    return static_cast<int>(v + 62.5);
}

// Unit step of a pin direction: 0 right, 90 down, 180 left, 270 up.
TPoint Step(int angle) {
    switch (angle) {
    case 0:
        return {StubLength, 0};
    case 90:
        return {0, StubLength};
    case 180:
        return {-StubLength, 0};
    case 270:
        return {0, -StubLength};
    default: {
        const double a = angle * std::numbers::pi / 180.0;
        return {int(std::lround(StubLength * std::cos(a))),
                int(std::lround(StubLength * std::sin(a)))};
    }
    }
}

// The intermediate points between the stubs O and I, by the pair of angles.
class Router {
public:
    Router(TPoint o, TPoint i, std::vector<TPoint>& out)
        : ox(o.x), oy(o.y), ix(i.x), iy(i.y), dx(std::abs(o.x - i.x)), dy(std::abs(o.y - i.y)),
          out_(out) {}

    void Route(int outAngle, int inAngle) {
        switch (outAngle) {
        case 0:
            return FromRight(inAngle);
        case 180:
            return FromLeft(inAngle);
        case 90:
            return FromBottom(inAngle);
        case 270:
            return FromTop(inAngle);
        default:
            return;
        }
    }

private:
    void Add(int x, int y) { out_.push_back({x, y}); }

    // Through a vertical line at x, from the output's row to the input's.
    void AcrossAtX(int x) { Add(x, oy), Add(x, iy); }
    // Through a horizontal line at y, from the output's column to the input's.
    void AcrossAtY(int y) { Add(ox, y), Add(ix, y); }

    void FromRight(int inAngle) {
        switch (inAngle) {
        case 0:
            if (ox < ix) AcrossAtX(ox + Half(ix - ox));
            if (ox >= ix && dy > 43) AcrossAtY(oy + Half(iy - oy));
            if (ox >= ix && dy <= 43) AcrossAtY(LoopLine(iy));
            return;
        case 180:
            if (dy > 42 && ox < ix) Add(ix, oy);
            if (dy > 42 && ox >= ix) Add(ox, iy);
            if (dy <= 42) AcrossAtY(iy + 65);
            return;
        case 90:
        case 270:
            if (ox < ix - 48 || (ox < ix && dy <= 42)) AcrossAtX(Mid(ox, ix));
            if (ox >= ix - 48 && dy > 42) AcrossAtX(ox + 70);
            if (ox >= ix && dy <= 42) AcrossAtY(inAngle == 90 ? iy - 65 : iy + 65);
            return;
        }
    }

    void FromLeft(int inAngle) {
        switch (inAngle) {
        case 0:
            if (dy > 42 && ix < ox) Add(ix, oy);
            if (dy > 42 && ix >= ox) Add(ox, iy);
            if (dy <= 42) AcrossAtY(iy + 65);
            return;
        case 180:
            if (ix < ox) AcrossAtX(ox + Half(ix - ox));
            if (ix >= ox && dy > 43) AcrossAtY(oy + Half(iy - oy));
            if (ix >= ox && dy <= 43) AcrossAtY(LoopLine(iy));
            return;
        case 90:
        case 270:
            if (ix + 48 < ox || (ix < ox && dy <= 42)) AcrossAtX(Mid(ox, ix));
            if (ix + 48 >= ox && dy > 42) AcrossAtX(ox - 75);
            if (ix >= ox && dy <= 42) AcrossAtY(inAngle == 90 ? iy - 65 : iy + 65);
            return;
        }
    }

    void FromBottom(int inAngle) {
        switch (inAngle) {
        case 0:
        case 180:
            if (oy < iy - 26 || (oy < iy && dx <= 42)) AcrossAtY(Mid(oy, iy));
            if (oy >= iy - 26 && dx > 42) AcrossAtY(oy + 40);
            if (oy >= iy && dx <= 42) AcrossAtX(inAngle == 0 ? ix - 65 : ix + 65);
            return;
        case 90:
            if (oy < iy) AcrossAtY(oy + Half(iy - oy));
            if (oy >= iy && dx > 43) AcrossAtX(ox + Half(ix - ox));
            if (oy >= iy && dx <= 43) AcrossAtX(LoopLine(ix));
            return;
        case 270:
            if (dx > 42 && oy < iy) Add(ox, iy);
            if (dx > 42 && oy >= iy) Add(ix, oy);
            if (dx <= 42) AcrossAtX(ix + 65);
            return;
        }
    }

    void FromTop(int inAngle) {
        switch (inAngle) {
        case 0:
        case 180:
            if (iy + 26 < oy || (iy < oy && dx <= 42)) AcrossAtY(Mid(oy, iy));
            if (iy + 26 >= oy && dx > 42) AcrossAtY(oy - 40);
            if (iy >= oy && dx <= 42) AcrossAtX(inAngle == 0 ? ix - 65 : ix + 65);
            return;
        case 90:
            if (dx > 42 && iy < oy) Add(ox, iy);
            if (dx > 42 && iy >= oy) Add(ix, oy);
            if (dx <= 42) AcrossAtX(ix + 65);
            return;
        case 270:
            if (iy < oy) AcrossAtY(oy + Half(iy - oy));
            if (iy >= oy && dx > 43) AcrossAtX(ox + Half(ix - ox));
            if (iy >= oy && dx <= 43) AcrossAtX(LoopLine(ix));
            return;
        }
    }

    const int ox, oy, ix, iy, dx, dy;
    std::vector<TPoint>& out_;
};

bool RightAngle(int angle) {
    return angle % 90 == 0;
}

} // namespace

int ReduceAngle(int angle) {
    angle %= 360;
    return angle < 0 ? angle + 360 : angle;
}

std::vector<TPoint> RouteSignalLink(TPoint outCentre, int outAngle, TPoint inCentre, int inAngle) {
    const TPoint o = outCentre + Step(outAngle);
    const TPoint i = inCentre - Step(inAngle);
    std::vector<TPoint> points{outCentre, o};
    if (!RightAngle(outAngle) || !RightAngle(inAngle)) {
        points.push_back(i);
        points.push_back(inCentre);
        return points;
    }
    Router(o, i, points).Route(outAngle, inAngle);
    points.push_back(i);
    return points;
}
