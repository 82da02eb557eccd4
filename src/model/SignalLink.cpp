#include "model/SignalLink.h"

#include "model/LinkRouting.h"
#include "model/Schematic.h"
#include "model/TInfoConnector.h"

namespace {

// Draws a polyline into the link's pieces. The cursor lives only for one
// routing call, so routing one link while another is routed stays safe.
class PenCursor {
public:
    PenCursor(std::vector<std::unique_ptr<TInfoLine>>& pieces, TPoint start)
        : pieces_(pieces), current_(start) {}

    void LineTo(TPoint p) {
        if (p == current_) return;
        if (index_ < pieces_.size())
            pieces_[index_]->Place(current_, p);
        else
            pieces_.push_back(std::make_unique<TInfoLine>(current_, p));
        ++index_;
        current_ = p;
    }

    // Frees the pieces left over from a longer earlier route.
    void Finish() { pieces_.resize(index_); }

private:
    std::vector<std::unique_ptr<TInfoLine>>& pieces_;
    std::size_t index_ = 0;
    TPoint current_;
};

} // namespace

void SignalLink::Route() {
    Source->SetCurrentAngleValue(ReduceAngle(Source->CurrentAngleValue()));
    Target->SetCurrentAngleValue(ReduceAngle(Target->CurrentAngleValue()));
    const std::vector<TPoint> points =
        RouteSignalLink(Source->Centre(), Source->CurrentAngleValue(), Target->Centre(),
                        Target->CurrentAngleValue());
    PenCursor pen(Pieces, points.front());
    for (std::size_t k = 1; k < points.size(); ++k)
        pen.LineTo(points[k]);
    pen.Finish();
}

std::vector<TPrimitive> PaintSignalLinks(const Schematic& sheet) {
    std::vector<TPrimitive> out;
    for (const TInfoInput* input : sheet.AllInputs) {
        if (!input->FConnection) continue;
        for (const auto& piece : input->FConnection->Pieces)
            out.push_back(piece->Paint());
    }
    return out;
}
