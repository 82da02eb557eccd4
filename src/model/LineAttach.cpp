// Joining pins and segments to a segment, and the routes of a wire drag.
#include <algorithm>
#include <cstdlib>

#include "model/LineJoints.h"
#include "model/Schematic.h"
#include "model/TElectricLine.h"
#include "model/TENode.h"

namespace {

long long Distance2(TPoint a, TPoint b) {
    const long long dx = a.x - b.x, dy = a.y - b.y;
    return dx * dx + dy * dy;
}

} // namespace

TElectricLine::TPlace TElectricLine::PlaceFor(TWireLink control, TPoint p) const {
    if (!BoundsRect().ContainsInclusive(p)) return TPlace::Outside;
    const long long dS = Distance2(p, StartPoint()), dE = Distance2(p, EndPoint());
    const bool startFree = FStartLink.IsFree(), endFree = FEndLink.IsFree();
    if ((dS > EndReach2 && dE > EndReach2) || (!startFree && !endFree))
        return control.Pin ? TPlace::Refused : TPlace::Tap;
    if (dS < dE) {
        if (startFree) return TPlace::Start;
        return dE <= EndReach2 && endFree ? TPlace::End : TPlace::Refused;
    }
    if (endFree) return TPlace::End;
    return dS <= EndReach2 && startFree ? TPlace::Start : TPlace::Refused;
}

std::optional<TPoint> TElectricLine::JointPointFor(TWireLink control, TPoint p) const {
    if (Holds(control)) return PointOf(control);
    switch (PlaceFor(control, p)) {
    case TPlace::Start: return StartPoint();
    case TPlace::End: return EndPoint();
    case TPlace::Tap: return p;
    default: return std::nullopt;
    }
}

void TElectricLine::Record(TWireLink control, TPlace place, TPoint p) {
    switch (place) {
    case TPlace::Start: FStartLink = control; break;
    case TPlace::End: FEndLink = control; break;
    case TPlace::Tap: FTaps.push_back({control.Line, p.x, p.y}); break;
    default: return;
    }
    if (control.Line) MergeNodes(sheet_, FNode, control.Line->FNode);
}

TElectricLine* TElectricLine::Attach(TWireLink control, int x, int y, TElectricLine* cameFrom) {
    std::vector<const TElectricLine*> seen;
    if (cameFrom) seen.push_back(cameFrom);
    return AttachVia(control, {x, y}, seen);
}

// `seen` keeps a closed loop of wire from sending the search round forever.
TElectricLine* TElectricLine::AttachVia(TWireLink control, TPoint p,
                                        std::vector<const TElectricLine*>& seen) {
    seen.push_back(this);
    if (control.IsFree() || control.Line == this) return nullptr;
    if (Holds(control)) return this;
    const TPlace place = PlaceFor(control, p);
    if (place == TPlace::Outside) {
        for (TElectricLine* next : {FStartLink.Line, FEndLink.Line}) {
            if (!next || std::find(seen.begin(), seen.end(), next) != seen.end()) continue;
            if (TElectricLine* taker = next->AttachVia(control, p, seen)) return taker;
        }
        return nullptr;
    }
    if (place == TPlace::Refused) return nullptr;
    Record(control, place, p);
    sheet_.Repaint();
    return this;
}

bool TElectricLine::Join(TElectricLine* a, TElectricLine* b, TPoint p) {
    if (!a || !b || a == b) return false;
    // Both must take the other exactly at p: an end 3 pixels off would leave
    // the wire drawn apart.
    if (a->JointPointFor(b, p) != p || b->JointPointFor(a, p) != p) return false;
    // Each holding the other as a tap, the joint is kept only by cutting one
    // of them there, which needs p inside one of them: at ends taken by
    // others on both sides no segment end could name the other.
    auto tapOnly = [p](const TElectricLine* s, TElectricLine* other) {
        if (s->FStartLink.Line == other || s->FEndLink.Line == other) return false;
        return s->Holds(other) || s->PlaceFor(other, p) == TPlace::Tap;
    };
    auto inside = [p](const TElectricLine* s) {
        return s->OnAxis(p) && p != s->StartPoint() && p != s->EndPoint();
    };
    if (tapOnly(a, b) && tapOnly(b, a) && !inside(a) && !inside(b)) return false;
    if (!a->Holds(b)) a->Record(b, a->PlaceFor(b, p), p);
    if (!b->Holds(a)) b->Record(a, b->PlaceFor(a, p), p);
    SettleCrossings(a->FNode);
    a->sheet_.Repaint();
    return true;
}

bool TElectricLine::JoinEnds(bool start, TElectricLine* other, bool otherStart) {
    if (!other || other == this) return false;
    TWireLink& mine = start ? FStartLink : FEndLink;
    TWireLink& theirs = otherStart ? other->FStartLink : other->FEndLink;
    if (mine.Line == other && theirs.Line == this) return true;
    if (!mine.IsFree() || !theirs.IsFree()) return false;
    const TPoint a = start ? StartPoint() : EndPoint();
    const TPoint b = otherStart ? other->StartPoint() : other->EndPoint();
    if (Distance2(a, b) > EndReach2) return false;
    mine = other;
    theirs = this;
    MergeNodes(sheet_, FNode, other->FNode);
    sheet_.Repaint();
    return true;
}

bool TElectricLine::RecordTap(TWireLink control, TPoint p) {
    // A tap may sit anywhere on the segment, its ends included.
    if (!control.Line || !BoundsRect().ContainsInclusive(p)) return false;
    Record(control, TPlace::Tap, p);
    sheet_.Repaint();
    return true;
}

bool TElectricLine::LinkStartTo(TElectricLine* other, bool tap) {
    if (!other || other == this) return false;
    if (FStartLink.Line == other && other->Holds(this)) return true;
    if (!FStartLink.IsFree() || Holds(other)) return false;
    if (tap && other->RecordTap(this, StartPoint())) {
        FStartLink = other;
        return true;
    }
    TElectricLine* taker = other->Attach(this, StartPoint().x, StartPoint().y);
    if (!taker) return false;
    FStartLink = taker;
    return true;
}

bool TElectricLine::LinkEndTo(TElectricLine* other, bool tap) {
    if (!other || other == this) return false;
    if (FEndLink.Line == other && other->Holds(this)) return true;
    if (!FEndLink.IsFree() || Holds(other)) return false;
    if (tap && other->RecordTap(this, EndPoint())) {
        FEndLink = other;
        return true;
    }
    TElectricLine* taker = other->Attach(this, EndPoint().x, EndPoint().y);
    if (!taker) return false;
    FEndLink = taker;
    return true;
}

std::vector<TElectricLine*> TElectricLine::CreateRoute(Schematic& sheet, TPoint a, TPoint b) {
    auto horizontal = [&sheet](int y, int x1, int x2) {
        return new TElectricLine(sheet, x1, y - 2, false, x2 - x1);
    };
    auto vertical = [&sheet](int x, int y1, int y2) {
        return new TElectricLine(sheet, x - 2, y1, true, y2 - y1);
    };
    if (std::abs(b.x - a.x) > std::abs(b.y - a.y)) {
        const TPoint p1 = a.x <= b.x ? a : b, p2 = a.x <= b.x ? b : a;
        if (p1.y == p2.y) return {horizontal(p1.y, p1.x, p2.x)};
        const int f = (p1.x + p2.x) / 2;
        TElectricLine* s1 = horizontal(p1.y, p1.x, f);
        TElectricLine* s2 = vertical(f, std::min(p1.y, p2.y), std::max(p1.y, p2.y));
        TElectricLine* s3 = horizontal(p2.y, f, p2.x);
        Join(s1, s2, {f, p1.y});
        Join(s2, s3, {f, p2.y});
        return {s1, s2, s3};
    }
    const TPoint p1 = a.y <= b.y ? a : b, p2 = a.y <= b.y ? b : a;
    if (p1.x == p2.x) return {vertical(p1.x, p1.y, p2.y)};
    const int f = (p1.y + p2.y) / 2;
    TElectricLine* s1 = vertical(p1.x, p1.y, f);
    TElectricLine* s2 = horizontal(f, std::min(p1.x, p2.x), std::max(p1.x, p2.x));
    TElectricLine* s3 = vertical(p2.x, f, p2.y);
    Join(s1, s2, {p1.x, f});
    Join(s2, s3, {p2.x, f});
    return {s1, s2, s3};
}
