#pragma once

#include <algorithm>
#include <cstdint>

// Integer-pixel geometry of the sheet. Halving always truncates towards zero,
// which is what C++ integer division does.

struct TPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(TPoint, TPoint) = default;
    TPoint operator+(TPoint o) const { return {x + o.x, y + o.y}; }
    TPoint operator-(TPoint o) const { return {x - o.x, y - o.y}; }
};

struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // Bounds inclusive on every side.
    bool ContainsInclusive(TPoint p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
    // Half-open, as a control's client area.
    bool Contains(TPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
};

inline TRect RectFromBounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

// Overlap test of the rubber-band selection: the rectangles must share a
// strictly positive area; a rectangle given with its corners swapped never
// overlaps anything.
inline bool RectsOverlap(const TRect& a, const TRect& b) {
    return std::min(a.right, b.right) - std::max(a.left, b.left) > 0 &&
           std::min(a.bottom, b.bottom) - std::max(a.top, b.top) > 0;
}

// Windows-style colour value 0x00BBGGRR: 255 is red.
using TColor = std::uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clNavy = 0x800000;

inline int ColorRed(TColor c) { return int(c & 0xFF); }
inline int ColorGreen(TColor c) { return int((c >> 8) & 0xFF); }
inline int ColorBlue(TColor c) { return int((c >> 16) & 0xFF); }
inline TColor RGBColor(int r, int g, int b) {
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
