#include "model/LineJoints.h"

#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"

TNodeSnapshot::TNodeSnapshot(TENode* node) {
    if (!node) return;
    for (TElectricLine* s : node->Segments) {
        segments_.push_back(
            {s, s->Left, s->Top, s->Width, s->Height, s->FStartLink, s->FEndLink, s->FTaps});
        if (s->FStartLink.Pin) pins_.push_back({s->FStartLink.Pin, s->StartPoint()});
        if (s->FEndLink.Pin) pins_.push_back({s->FEndLink.Pin, s->EndPoint()});
    }
    brokenBefore_ = BrokenJoints(nullptr, {});
}

void TNodeSnapshot::Restore() const {
    for (const SegmentState& st : segments_) {
        TElectricLine* s = st.Line;
        s->Left = st.Left;
        s->Top = st.Top;
        s->Width = st.Width;
        s->Height = st.Height;
        s->FStartLink = st.Start;
        s->FEndLink = st.End;
        s->FTaps = st.Taps;
    }
}

bool TNodeSnapshot::JointsHold(const TConnector* mover, TPoint moverAt) const {
    return BrokenJoints(mover, moverAt) <= brokenBefore_;
}

int TNodeSnapshot::BrokenJoints(const TConnector* mover, TPoint moverAt) const {
    auto pinAt = [&](const TConnector* pin) {
        if (pin == mover) return moverAt;
        for (const PinPoint& p : pins_)
            if (p.Pin == pin) return p.At;
        return TPoint{};
    };
    int broken = 0;
    for (const SegmentState& st : segments_) {
        TElectricLine* s = st.Line;
        if (s->Width < 0 || s->Height < 0) ++broken;
        auto checkEnd = [&](TWireLink link, TPoint at) {
            if (link.Pin) {
                if (at != pinAt(link.Pin)) ++broken;
            } else if (TElectricLine* n = link.Line) {
                if (!n->Holds(s) || !n->OnAxis(at) ||
                    n->PointOf(s) != at)
                    ++broken;
            }
        };
        checkEnd(s->FStartLink, s->StartPoint());
        checkEnd(s->FEndLink, s->EndPoint());
        for (const TCLine& t : s->FTaps) {
            const TPoint at{t.x, t.y};
            if (!s->OnAxis(at) || !t.Control->Holds(s)) ++broken;
        }
    }
    return broken;
}
