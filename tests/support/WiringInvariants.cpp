#include "support/WiringInvariants.h"

#include <algorithm>
#include <map>
#include <set>

#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"

namespace {

struct Axis {
    bool vertical;
    int at;        // x of a vertical axis, y of a horizontal one
    int from, to;  // extent along the axis
};

Axis AxisOf(const TElectricLine* s) {
    if (s->FVertical) return {true, s->Left + 2, s->Top, s->Top + s->Height};
    return {false, s->Top + 2, s->Left, s->Left + s->Width};
}

bool OnAxis(const Axis& a, TPoint p) {
    const int across = a.vertical ? p.x : p.y, along = a.vertical ? p.y : p.x;
    return across == a.at && along >= a.from && along <= a.to;
}

TPoint EndOf(const TElectricLine* s, bool start) {
    const Axis a = AxisOf(s);
    const int along = start ? a.from : a.to;
    return a.vertical ? TPoint{a.at, along} : TPoint{along, a.at};
}

// Where `holder` records `other`: an end point or a tap point.
std::vector<TPoint> RecordedPoints(const TElectricLine* holder, const TElectricLine* other) {
    std::vector<TPoint> out;
    if (holder->FStartLink.Line == other) out.push_back(EndOf(holder, true));
    if (holder->FEndLink.Line == other) out.push_back(EndOf(holder, false));
    for (const TCLine& t : holder->FTaps)
        if (t.Control == other) out.push_back({t.x, t.y});
    return out;
}

std::string Name(const Schematic& sheet, const TElectricLine* s) {
    return "segment " + std::to_string(sheet.Lines.IndexOf(s));
}

// Per segment, the number of the first segment of its node.
std::vector<int> NodeLabels(const Schematic& sheet) {
    std::map<const TENode*, int> first;
    std::vector<int> labels;
    for (int i = 0; i < sheet.Lines.Count(); ++i)
        labels.push_back(first.emplace(sheet.Lines[i]->FNode, i).first->second);
    return labels;
}

// Per pin, element by element in pin order: its segment's number, -1 when free.
std::vector<int> PinSegments(const Schematic& sheet) {
    std::vector<int> out;
    for (const TBaseElement* e : sheet.Elements)
        for (const TConnector* c : e->FConnectors)
            out.push_back(c->FLink ? sheet.Lines.IndexOf(c->FLink) : -1);
    return out;
}

std::string PinName(const Schematic& sheet, std::size_t k) {
    std::size_t n = 0;
    for (const TBaseElement* e : sheet.Elements)
        for (const TConnector* c : e->FConnectors)
            if (n++ == k)
                return "pin " + c->Name + " of element " + std::to_string(sheet.Elements.IndexOf(e));
    return "pin " + std::to_string(k);
}

} // namespace

std::string WiringFault(const Schematic& sheet) {
    const std::set<const TElectricLine*> lines(sheet.Lines.begin(), sheet.Lines.end());

    std::map<const TElectricLine*, const TENode*> nodeOf;
    for (const TENode* node : sheet.Nodes) {
        if (node->Segments.empty()) return "an empty node";
        for (const TElectricLine* s : node->Segments) {
            if (!lines.count(s)) return "a node lists a segment that is not in Lines";
            if (nodeOf.count(s)) return Name(sheet, s) + " is in two nodes";
            nodeOf[s] = node;
        }
    }

    std::map<const TElectricLine*, std::vector<const TElectricLine*>> joined;
    for (const TElectricLine* s : sheet.Lines) {
        const std::string me = Name(sheet, s);
        if (!nodeOf.count(s)) return me + " is in no node";
        if (nodeOf[s] != s->FNode) return me + " points to another node than the one listing it";
        if (s->FVertical ? s->Width != 5 || s->Height < 0 : s->Height != 5 || s->Width < 0)
            return me + " has a wrong box";
        const Axis axis = AxisOf(s);

        for (bool start : {true, false}) {
            const TWireLink link = start ? s->FStartLink : s->FEndLink;
            const TPoint end = EndOf(s, start);
            const std::string which = me + (start ? " start" : " end");
            if (link.Pin) {
                if (link.Pin->FLink != s) return which + " holds a pin that does not hold it";
                if (end != link.Pin->GetLink()) return which + " is off its pin centre";
            } else if (const TElectricLine* n = link.Line) {
                if (!lines.count(n)) return which + " holds a freed segment";
                if (!OnAxis(AxisOf(n), end)) return which + " is off the axis of its segment";
                const auto back = RecordedPoints(n, s);
                if (back.empty()) return which + ": the joined segment does not record it";
                if (std::find(back.begin(), back.end(), end) == back.end())
                    return which + ": the joined segment records it elsewhere";
                joined[s].push_back(n);
            }
        }
        for (const TCLine& t : s->FTaps) {
            const TPoint p{t.x, t.y};
            if (!lines.count(t.Control)) return me + " taps a freed segment";
            if (!OnAxis(axis, p)) return me + " has a tap point off its axis";
            const auto back = RecordedPoints(t.Control, s);
            if (std::find(back.begin(), back.end(), p) == back.end())
                return me + ": a tapping segment does not record the tap point";
            joined[s].push_back(t.Control);
        }
    }

    for (const TConnector* pin : sheet.ConnectorList) {
        const TElectricLine* s = pin->FLink;
        if (!s) continue;
        if (!lines.count(s)) return "a pin holds a freed segment";
        if (s->FStartLink.Pin != pin && s->FEndLink.Pin != pin)
            return "a pin's segment does not list the pin";
    }

    // Connected components of the attachment graph must be exactly the nodes.
    std::set<const TElectricLine*> done;
    for (const TElectricLine* s : sheet.Lines) {
        if (done.count(s)) continue;
        std::set<const TElectricLine*> component{s};
        std::vector<const TElectricLine*> stack{s};
        while (!stack.empty()) {
            const TElectricLine* c = stack.back();
            stack.pop_back();
            for (const TElectricLine* n : joined[c])
                if (component.insert(n).second) stack.push_back(n);
        }
        for (const TElectricLine* c : component) {
            if (nodeOf[c] != nodeOf[s]) return Name(sheet, c) + " is joined to another node";
            done.insert(c);
        }
        if (component.size() != nodeOf[s]->Segments.size())
            return Name(sheet, s) + "'s node holds segments it is not joined to";
    }
    return {};
}

std::string RoundTripFault(const Schematic& sheet) {
    Schematic back;
    LoadSchematicLines(back, SchematicToLines(sheet));
    return RoundTripFault(sheet, back);
}

std::string RoundTripFault(const Schematic& sheet, const Schematic& back) {
    if (back.Lines.Count() != sheet.Lines.Count()) return "the file gives another number of segments";
    const std::vector<int> was = NodeLabels(sheet), is = NodeLabels(back);
    for (std::size_t i = 0; i < was.size(); ++i)
        if (was[i] != is[i])
            return "segments " + std::to_string(i) + " and " + std::to_string(std::min(was[i], is[i])) +
                   (was[i] < is[i] ? " share a node only before" : " share a node only after") +
                   " the round trip";
    const std::vector<int> pinsWas = PinSegments(sheet), pinsIs = PinSegments(back);
    if (pinsWas.size() != pinsIs.size()) return "the file gives another number of pins";
    for (std::size_t k = 0; k < pinsWas.size(); ++k)
        if (pinsWas[k] != pinsIs[k]) return PinName(sheet, k) + " sits on another segment after the round trip";
    return {};
}

std::vector<int> PinNodes(const Schematic& sheet) {
    std::map<const TENode*, int> first;
    std::vector<int> out;
    for (const TBaseElement* e : sheet.Elements)
        for (const TConnector* c : e->FConnectors) {
            const int k = int(out.size());
            out.push_back(c->FLink ? first.emplace(c->FLink->FNode, k).first->second : -1);
        }
    return out;
}

std::string SeparatedPins(const std::vector<int>& before, const Schematic& now) {
    const std::vector<int> is = PinNodes(now);
    if (is.size() != before.size()) return "the pins differ";
    for (std::size_t k = 0; k < before.size(); ++k) {
        if (before[k] < 0 || before[k] == int(k)) continue;
        const std::size_t first = std::size_t(before[k]);
        if (is[k] < 0 || is[k] != is[first])
            return PinName(now, first) + " and " + PinName(now, k) + " no longer share a node";
    }
    return {};
}
