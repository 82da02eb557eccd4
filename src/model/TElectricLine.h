#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/Geometry.h"
#include "model/TRotateableMetafile.h"
#include "model/TWireLink.h"

class Schematic;
class TENode;
enum class TMouseButton;

// A straight horizontal or vertical wire segment on the sheet. Its box is 5
// pixels thick around the axis: a horizontal segment from x1 to x2 at height y
// is left = x1, top = y - 2, width = x2 - x1, height = 5.
class TElectricLine {
public:
    static constexpr int Thickness = 5;
    // Squared distance within which a point counts as a segment's end.
    static constexpr int EndReach2 = 9;

    // A segment given as the file stores it: box left and top, direction and
    // length. It starts in a node of its own.
    TElectricLine(Schematic& sheet, int left, int top, bool vertical, int length);
    ~TElectricLine();
    TElectricLine(const TElectricLine&) = delete;
    TElectricLine& operator=(const TElectricLine&) = delete;

    // One segment when A and B share the leading coordinate, otherwise three
    // joined ones with the jog halfway; in creation order.
    static std::vector<TElectricLine*> CreateRoute(Schematic& sheet, TPoint a, TPoint b);

    Schematic& Sheet() const { return sheet_; }

    int Left = 0;
    int Top = 0;
    int Width = Thickness;
    int Height = Thickness;
    TPoint FPressPoint;      // sheet point of the press that may start a drag
    bool FMoved = false;     // dragged since that press
    std::vector<TCLine> FTaps;
    TWireLink FStartLink;    // left or top end
    TWireLink FEndLink;      // right or bottom end
    TENode* FNode = nullptr;
    bool FSelected = false;
    bool FVertical = false;
    TColor FPenColor = clBlack;
    int FPenWidth = 1;

    TRect BoundsRect() const { return RectFromBounds(Left, Top, Width, Height); }
    TPoint StartPoint() const;
    TPoint EndPoint() const;
    // The point where `control` is attached: an end or a tap point.
    TPoint PointOf(TWireLink control) const;
    bool Holds(TWireLink control) const;
    TCLine* FindTap(const TElectricLine* control);
    // Segments attached to this one: the segment ends, then the taps.
    std::vector<TElectricLine*> Neighbours() const;
    // The point lies on the axis between the ends, both included.
    bool OnAxis(TPoint p) const;

    // Attaches a pin or a segment at (x, y): at an end within 3 pixels, else
    // as a tap (segments only). A point outside the box is passed on along
    // the segments joined at the ends. Returns the segment that took the
    // control, or null when none did; a joined segment's node is merged.
    TElectricLine* Attach(TWireLink control, int x, int y, TElectricLine* cameFrom = nullptr);
    // Where `control` would be joined if attached at p without searching
    // further: the end it would take, or p for a tap; empty when this segment
    // would refuse it or p is outside the box.
    std::optional<TPoint> JointPointFor(TWireLink control, TPoint p) const;
    // Joins a and b at p, each recording the other, or neither when either
    // would refuse or take the other at an end other than p.
    static bool Join(TElectricLine* a, TElectricLine* b, TPoint p);
    // The file's joints: this segment's start (end) goes onto `other`, which
    // takes it at this segment's start (end) point. False when refused.
    // `tap`: the other segment's own joints do not name this one, so it holds
    // this end as a tap even where the point lies near one of its free ends.
    bool LinkStartTo(TElectricLine* other, bool tap = false);
    bool LinkEndTo(TElectricLine* other, bool tap = false);
    // The file's end-to-end joint, as both records name it: this segment's
    // start (or end) and `other`'s start (or end), which lie within 3 pixels.
    // A segment of zero length cannot tell its ends apart by position.
    bool JoinEnds(bool start, TElectricLine* other, bool otherStart);
    // Drops every reference to `control`.
    void Forget(TWireLink control);

    // Moves the part touching `control` (start, end or tap; null: the free
    // end) by (dx, dy), dragging what is joined to it.
    void MoveEnd(TWireLink control, int dx, int dy);
    // Moves the whole segment across its direction.
    void Shift(int dx, int dy);
    // Shift, undone when some joint of the node could not follow (a pin
    // cannot be dragged along). Returns whether the segment moved.
    bool TryShift(int dx, int dy);
    // Positive length; taps that fell outside the ends become the ends.
    void Normalise();

    void Select();
    void Deselect();

    // "Узел: N", with the potential once a run has computed it.
    std::string HintText() const;
    // The axis, free-end crosses and junction dots, in sheet coordinates.
    std::vector<TPrimitive> Paint() const;

    // Mouse rules, in sheet coordinates.
    void MouseDown(TMouseButton button, bool shift, TPoint p);
    void MouseMove(TPoint p);
    void MouseUp(TMouseButton button, bool shift, TPoint p);
    bool Captured() const { return captured_; }
    // A segment may be dragged only when neither end holds a pin.
    bool EndsAllowShift() const;

private:
    enum class TPlace { Outside, Start, End, Tap, Refused };
    TPlace PlaceFor(TWireLink control, TPoint p) const;
    void Record(TWireLink control, TPlace place, TPoint p);
    // Takes a segment as a tap at p when p is within the box; false otherwise.
    bool RecordTap(TWireLink control, TPoint p);
    TElectricLine* AttachVia(TWireLink control, TPoint p, std::vector<const TElectricLine*>& seen);
    // Every tap but `except` moves by (dx, dy) and drags its segment's end.
    void Follow(const TElectricLine* except, int dx, int dy);
    void ExtendTo(bool start, int coordinate);
    bool NormaliseOnce();

    Schematic& sheet_;
    bool captured_ = false;
    bool moving_ = false;  // inside MoveEnd or Shift: a request that comes back is a loop
};

// The orthogonal rubber path drawn while a wire is dragged: from B
// horizontally to the middle x, vertically to A's y, horizontally to A.
std::vector<TPoint> RubberWirePath(TPoint a, TPoint b);
