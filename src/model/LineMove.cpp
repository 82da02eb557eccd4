// Moving segment ends and whole segments, dragging whatever is joined.
#include "model/LineJoints.h"
#include "model/Schematic.h"
#include "model/TElectricLine.h"

void TElectricLine::Follow(const TElectricLine* except, int dx, int dy) {
    // Indices, not iterators: a tap's own move must not invalidate the walk.
    for (std::size_t i = 0; i < FTaps.size(); ++i) {
        TElectricLine* control = FTaps[i].Control;
        if (control == except) continue;
        FTaps[i].x += dx;
        FTaps[i].y += dy;
        control->MoveEnd(this, dx, dy);
    }
}

void TElectricLine::MoveEnd(TWireLink control, int dx, int dy) {
    // A request that comes back to a segment already moving can only arise
    // from overlapping collinear pieces; the caller's joint check sees what
    // was left behind.
    if (moving_) return;
    moving_ = true;
    const bool atStart = control.IsFree() ? FStartLink.IsFree() : control == FStartLink;
    const bool atEnd =
        !atStart && (control.IsFree() ? FEndLink.IsFree() : control == FEndLink);
    TCLine* tap = !atStart && !atEnd && control.Line ? FindTap(control.Line) : nullptr;
    // The part of the offset that carries the segment sideways.
    const int ax = FVertical ? dx : 0, ay = FVertical ? 0 : dy;
    const bool sideways = ax != 0 || ay != 0;
    if (atStart) {
        if (FVertical) {
            Top += dy;
            Height -= dy;
            Left += dx;
        } else {
            Left += dx;
            Width -= dx;
            Top += dy;
        }
        if (sideways) {
            if (FEndLink.Line) FEndLink.Line->MoveEnd(this, ax, ay);
            Follow(nullptr, ax, ay);
        }
    } else if (atEnd) {
        if (FVertical) {
            Height += dy;
            Left += dx;
        } else {
            Width += dx;
            Top += dy;
        }
        if (sideways) {
            Follow(nullptr, ax, ay);
            if (FStartLink.Line) FStartLink.Line->MoveEnd(this, ax, ay);
        }
    } else if (tap) {
        Left += ax;
        Top += ay;
        tap->x += dx;
        tap->y += dy;
        if (sideways) {
            Follow(control.Line, ax, ay);
            // The ends go sideways with the axis too.
            if (FStartLink.Line) FStartLink.Line->MoveEnd(this, ax, ay);
            if (FEndLink.Line && FEndLink != FStartLink) FEndLink.Line->MoveEnd(this, ax, ay);
        }
    }
    Normalise();
    moving_ = false;
    sheet_.Repaint();
}

void TElectricLine::Shift(int dx, int dy) {
    const int ax = FVertical ? dx : 0, ay = FVertical ? 0 : dy;
    if ((ax == 0 && ay == 0) || moving_) return;
    moving_ = true;
    Left += ax;
    Top += ay;
    Follow(nullptr, ax, ay);
    // A neighbour holding this segment as a tap slides the tap point along
    // itself (and turns it into its end once it passes one); a neighbour
    // holding it at an end moves that end.
    if (FStartLink.Line) FStartLink.Line->MoveEnd(this, ax, ay);
    if (FEndLink.Line && FEndLink != FStartLink) FEndLink.Line->MoveEnd(this, ax, ay);
    moving_ = false;
    sheet_.Repaint();
}

bool TElectricLine::TryShift(int dx, int dy) {
    if ((FVertical ? dx : dy) == 0) return false;
    const TNodeSnapshot before(FNode);
    Shift(dx, dy);
    if (before.JointsHold()) {
        SettleCrossings(FNode);
        DropCoveredSegments(FNode, this);
        return true;
    }
    before.Restore();
    sheet_.Repaint();
    return false;
}

void TElectricLine::Normalise() {
    int& length = FVertical ? Height : Width;
    if (length < 0) {
        (FVertical ? Top : Left) += length;
        length = -length;
        std::swap(FStartLink, FEndLink);
    }
    while (NormaliseOnce()) {
    }
}

void TElectricLine::ExtendTo(bool start, int coordinate) {
    int& origin = FVertical ? Top : Left;
    int& length = FVertical ? Height : Width;
    if (start) {
        length += origin - coordinate;
        origin = coordinate;
    } else {
        length = coordinate - origin;
    }
}

// One tap lying outside the ends becomes that end; the end's former control
// stays joined as a tap at the former end point. A pin at that end cannot
// become a tap, so that tap stays where it is and the joint check reports it.
bool TElectricLine::NormaliseOnce() {
    auto along = [this](TPoint p) { return FVertical ? p.y : p.x; };
    for (int pass = 0; pass < 2; ++pass) {
        const bool start = pass == 0;
        TWireLink& end = start ? FStartLink : FEndLink;
        if (end.Pin) continue;
        const int limit = along(start ? StartPoint() : EndPoint());
        for (std::size_t i = 0; i < FTaps.size(); ++i) {
            const TCLine tap = FTaps[i];
            const int c = along({tap.x, tap.y});
            if (start ? c >= limit : c <= limit) continue;
            if (end.Line) {
                const TPoint p = start ? StartPoint() : EndPoint();
                FTaps[i] = {end.Line, p.x, p.y};
            } else {
                FTaps.erase(FTaps.begin() + std::ptrdiff_t(i));
            }
            end = tap.Control;
            ExtendTo(start, c);
            return true;
        }
    }
    return false;
}
