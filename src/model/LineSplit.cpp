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

} // namespace

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
                if (Inside(a, p))
                    CutAt(a, b, p);
                else if (Inside(b, p))
                    CutAt(b, a, p);
                else
                    continue;
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
