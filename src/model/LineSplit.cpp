// Cutting a segment where another one crosses it, so that every joint lies
// at a segment end as the file records it.
#include <algorithm>

#include "model/LineJoints.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"

namespace {

// `holder` now meets `to` where it met `from` (an end or one tap).
void Redirect(TElectricLine* holder, TElectricLine* from, TElectricLine* to) {
    if (holder->FStartLink.Line == from) {
        holder->FStartLink = to;
        return;
    }
    if (holder->FEndLink.Line == from) {
        holder->FEndLink = to;
        return;
    }
    if (TCLine* t = holder->FindTap(from)) t->Control = to;
}

// Whether p lies on the axis strictly between the ends.
bool Inside(const TElectricLine* s, TPoint p) {
    return s->OnAxis(p) && p != s->StartPoint() && p != s->EndPoint();
}

// Cuts `a` at p, strictly inside it, where `b` crosses: `a` keeps the part
// before p and ends on `b` (which keeps its tap there), the new piece starts
// on `a`'s end and takes `a`'s former end and the taps beyond p.
void CutAt(TElectricLine* a, TElectricLine* b, TPoint p) {
    Schematic& sheet = a->Sheet();
    const TPoint end = a->EndPoint();
    const int length = a->FVertical ? end.y - p.y : end.x - p.x;
    auto* piece = new TElectricLine(sheet, a->FVertical ? a->Left : p.x,
                                    a->FVertical ? p.y : a->Top, a->FVertical, length);
    (a->FVertical ? a->Height : a->Width) -= length;
    MergeNodes(sheet, a->FNode, piece->FNode);
    if (a->FSelected) piece->Select();

    piece->FEndLink = a->FEndLink;
    a->FEndLink = {};
    if (TConnector* pin = piece->FEndLink.Pin) pin->FLink = piece;
    if (TElectricLine* n = piece->FEndLink.Line) Redirect(n, a, piece);

    auto along = [a](TPoint q) { return a->FVertical ? q.y : q.x; };
    const int cut = along(p);
    std::vector<TCLine> kept;
    for (const TCLine& t : a->FTaps) {
        if (t.Control == b) continue;
        if (along({t.x, t.y}) > cut) {
            piece->FTaps.push_back(t);
            Redirect(t.Control, a, piece);
        } else {
            kept.push_back(t);
        }
    }
    a->FTaps = std::move(kept);
    a->FEndLink = b;
    a->FTaps.push_back({piece, p.x, p.y});
    piece->FStartLink = a;
}

// Whether `s` runs on `cover`'s axis within its ends.
bool Covers(const TElectricLine* cover, const TElectricLine* s) {
    return cover->FVertical == s->FVertical && cover->OnAxis(s->StartPoint()) &&
           cover->OnAxis(s->EndPoint());
}

bool Joined(TElectricLine* a, TElectricLine* b) { return a->Holds(b) || b->Holds(a); }

// Whether every joint of `p` but those with `cover` can move onto `cover`:
// each other segment names `p` at one of its own ends and is not joined to
// `cover` already.
bool CanDrop(TElectricLine* p, TElectricLine* cover) {
    for (TElectricLine* n : p->Neighbours()) {
        if (n == cover) continue;
        if (n->FStartLink.Line != p && n->FEndLink.Line != p) return false;
        if (Joined(n, cover)) return false;
    }
    return true;
}

void Drop(TElectricLine* p, TElectricLine* cover) {
    Schematic& sheet = p->Sheet();
    cover->Forget(p);
    for (TElectricLine* n : p->Neighbours()) {
        if (n == cover) continue;
        const TPoint at = n->PointOf(p);
        Redirect(n, p, cover);
        cover->FTaps.push_back({n, at.x, at.y});
    }
    p->FStartLink = {};
    p->FEndLink = {};
    p->FTaps.clear();
    // Alone in a node of its own, so that freeing it leaves the wire's node be.
    std::erase(p->FNode->Segments, p);
    NewNode(sheet, p);
    delete p;
}

// A tap at a free end of `a` is that end's joint.
bool TakeAsEnd(TElectricLine* a, TElectricLine* b, TPoint p) {
    TWireLink* end = p == a->StartPoint() && a->FStartLink.IsFree() ? &a->FStartLink
                     : p == a->EndPoint() && a->FEndLink.IsFree()   ? &a->FEndLink
                                                                    : nullptr;
    if (!end) return false;
    a->Forget(b);
    *end = b;
    return true;
}

// At ends that others hold on both segments, a segment of no length joins
// them: it starts on `a` and ends on `b`, each holding it as a tap at p.
void Bridge(TElectricLine* a, TElectricLine* b, TPoint p) {
    auto* bridge = new TElectricLine(a->Sheet(), p.x, p.y - 2, false, 0);
    MergeNodes(a->Sheet(), a->FNode, bridge->FNode);
    a->FindTap(b)->Control = bridge;
    b->FindTap(a)->Control = bridge;
    bridge->FStartLink = a;
    bridge->FEndLink = b;
}

} // namespace

int DropCoveredSegments(TENode* node, const TElectricLine* keep) {
    if (!node) return 0;
    int dropped = 0;
    for (bool found = true; found;) {
        found = false;
        for (TElectricLine* p : node->Segments) {
            // A free end keeps its cross on the sheet, a pin its wire.
            if (p == keep || p->Captured() || !p->FStartLink.Line || !p->FEndLink.Line) continue;
            for (TElectricLine* cover : p->Neighbours()) {
                if (!Covers(cover, p) || !CanDrop(p, cover)) continue;
                Drop(p, cover);
                ++dropped;
                found = true;
                break;
            }
            if (found) break;
        }
    }
    if (dropped) node->Segments.front()->Sheet().Repaint();
    return dropped;
}

int SettleCrossings(TENode* node) {
    if (!node) return 0;
    int cuts = 0;
    for (bool found = true; found;) {
        found = false;
        for (TElectricLine* a : node->Segments) {
            for (const TCLine& t : a->FTaps) {
                TElectricLine* b = t.Control;
                const TPoint p{t.x, t.y};
                // A segment end naming the other keeps the joint already.
                if (a->FStartLink.Line == b || a->FEndLink.Line == b) continue;
                if (b->FStartLink.Line == a || b->FEndLink.Line == a) continue;
                if (TakeAsEnd(a, b, p) || TakeAsEnd(b, a, p)) {
                } else if (Inside(a, p)) {
                    CutAt(a, b, p);
                } else if (Inside(b, p)) {
                    CutAt(b, a, p);
                } else {
                    Bridge(a, b, p);
                }
                ++cuts;
                found = true;
                break;
            }
            if (found) break;
        }
    }
    if (cuts) node->Segments.front()->Sheet().Repaint();
    return cuts;
}
