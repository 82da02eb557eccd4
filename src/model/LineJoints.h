#pragma once

#include <vector>

#include "model/Geometry.h"
#include "model/TWireLink.h"

class TConnector;
class TElectricLine;
class TENode;

// The segments of one node as they were before a move, so that a move that
// tore a joint apart can be undone. Moves never change which segments form
// a node, nor which pins sit on them.
class TNodeSnapshot {
public:
    explicit TNodeSnapshot(TENode* node);
    void Restore() const;
    // No joint is broken that held before; every pin keeps the point where it
    // sat, except `mover`, which must now sit at `moverAt`.
    bool JointsHold(const TConnector* mover = nullptr, TPoint moverAt = {}) const;

private:
    struct SegmentState {
        TElectricLine* Line;
        int Left, Top, Width, Height;
        TWireLink Start, End;
        std::vector<TCLine> Taps;
    };
    struct PinPoint {
        const TConnector* Pin;
        TPoint At;
    };
    int BrokenJoints(const TConnector* mover, TPoint moverAt) const;

    std::vector<SegmentState> segments_;
    std::vector<PinPoint> pins_;
    int brokenBefore_ = 0;
};

// The file records a joint only as a segment end naming the segment it sits
// on. Two segments that hold each other as taps would therefore come back
// apart. Each such pair in `node` is settled: at a free end of one of them
// the joint becomes that end's; else, where the point is inside one of
// them, that one is cut there, so that its first piece ends on the other
// segment and its second piece starts at that end; at ends that others hold
// on both, a segment of no length joins them. Returns how many were settled.
int SettleCrossings(TENode* node);
// A segment of `node` lying wholly on a collinear segment it is joined to
// (a cut piece that a later move turned back over the rest) is dropped: its
// other joints go onto the covering segment. Only segments whose both ends
// sit on segments go; the one the mouse holds and `keep` stay. Returns how
// many were dropped.
int DropCoveredSegments(TENode* node, const TElectricLine* keep = nullptr);
