#pragma once

#include <vector>

#include "model/Geometry.h"

class TInfoConnector;

// The link being dragged from a signal pin, as the painter shows it.
struct TRubberLink {
    TInfoConnector* Pin = nullptr; // the pin the drag started on; null: no drag
    TPoint Start;                  // centre of that pin, sheet coordinates
    TPoint End;                    // the mouse, sheet coordinates
    bool Shown = false;            // the path is on the screen

    bool Active() const { return Pin != nullptr; }
    void Reset() { *this = TRubberLink{}; }
    // Three orthogonal pieces: along the start's row to the middle column,
    // down or up that column to the end's row, then along it to the end.
    std::vector<TPoint> Path() const {
        const int mx = (Start.x + End.x) / 2;
        return {Start, {mx, Start.y}, {mx, End.y}, End};
    }
};
