#include "model/TENode.h"

#include <algorithm>

#include "model/Schematic.h"
#include "model/TElectricLine.h"

TENode* NewNode(Schematic& sheet, TElectricLine* segment) {
    auto* node = new TENode;
    node->Segments.push_back(segment);
    segment->FNode = node;
    sheet.Nodes.Add(node);
    return node;
}

void MergeNodes(Schematic& sheet, TENode* survivor, TENode* absorbed) {
    if (!survivor || !absorbed || survivor == absorbed) return;
    for (TElectricLine* s : absorbed->Segments) {
        s->FNode = survivor;
        survivor->Segments.push_back(s);
    }
    if (!absorbed->Name.empty()) survivor->Name = absorbed->Name;
    sheet.Nodes.Remove(absorbed);
    delete absorbed;
}

namespace {

// Gives `start` and everything it reaches, not passing through `removed`, the
// node `node`.
void FloodFill(TElectricLine* start, const TElectricLine* removed, TENode* node) {
    std::vector<TElectricLine*> stack{start};
    start->FNode = node;
    node->Segments.push_back(start);
    while (!stack.empty()) {
        TElectricLine* s = stack.back();
        stack.pop_back();
        for (TElectricLine* n : s->Neighbours()) {
            if (n == removed || n->FNode == node) continue;
            n->FNode = node;
            node->Segments.push_back(n);
            stack.push_back(n);
        }
    }
}

} // namespace

void RebuildAfterDelete(TElectricLine* segment) {
    Schematic& sheet = segment->Sheet();
    TENode* old = segment->FNode;
    for (TElectricLine* n : segment->Neighbours()) {
        if (n->FNode != old) continue;  // already reached from an earlier neighbour
        auto* fresh = new TENode;
        sheet.Nodes.Add(fresh);
        FloodFill(n, segment, fresh);
    }
    segment->FNode = nullptr;
    if (old) {
        sheet.Nodes.Remove(old);
        delete old;
    }
}
