// Cut, copy, paste and duplicate: a selection travels as the schematic
// file's own text, holding the selected elements, their wires and the
// signal links among them.
#include <algorithm>
#include <optional>
#include <set>

#include "app/Editor.h"
#include "app/SchematicFile.h"
#include "model/Messages.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "params/ValueText.h"

namespace {

constexpr int PasteStep = 20; // how far each paste of the same text lands from the last

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// The first two integer fields of "a,b,..." after `from`, and where the
// second one ends.
bool ReadPair(const std::string& line, std::size_t from, long& x, long& y, std::size_t& end) {
    const std::size_t c1 = line.find(',', from);
    if (c1 == std::string::npos) return false;
    end = line.find_first_of(",([", c1 + 1);
    if (end == std::string::npos) end = line.size();
    return ReadInt(std::string_view(line).substr(from, c1 - from), x) &&
           ReadInt(std::string_view(line).substr(c1 + 1, end - c1 - 1), y);
}

// Adds (dx, dy) to the first two fields of "a,b,..." after `from`.
bool ShiftFields(std::string& line, std::size_t from, int dx, int dy) {
    long x = 0, y = 0;
    std::size_t end = 0;
    if (!ReadPair(line, from, x, y, end)) return false;
    line = line.substr(0, from) + std::to_string(x + dx) + "," + std::to_string(y + dy) +
           line.substr(end);
    return true;
}

enum class TSection { Settings, Segments, Joints, Records, Rest };

// Where each line of a schematic text stands: the placed lines are the
// segments ("x,y,vertical,length") and the element headers ("Class:x,y,...").
template <class F> void ForEachPlacedLine(std::vector<std::string>& lines, F&& placed) {
    TSection section = TSection::Settings;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string& line = lines[i];
        if (line == "Lines:")
            section = TSection::Segments;
        else if (line == "EOL")
            section = TSection::Joints;
        else if (line == "EOC")
            section = TSection::Records;
        else if (line == "EOE")
            section = TSection::Rest;
        else if (section == TSection::Segments)
            placed(line, std::size_t(0), true);
        else if (section == TSection::Records && !line.empty() && line[0] != ' ') {
            if (const std::size_t colon = line.find(':'); colon != std::string::npos)
                placed(line, colon + 1, false);
        }
    }
}

// The top left corner of what a schematic text holds: element corners and
// both ends of every segment.
std::optional<TPoint> TopLeftOf(std::vector<std::string> lines) {
    std::optional<TPoint> corner;
    const auto add = [&corner](long x, long y) {
        if (!corner)
            corner = TPoint{int(x), int(y)};
        else
            corner = TPoint{std::min(corner->x, int(x)), std::min(corner->y, int(y))};
    };
    ForEachPlacedLine(lines, [&add](std::string& line, std::size_t from, bool segment) {
        long x = 0, y = 0;
        std::size_t end = 0;
        if (!ReadPair(line, from, x, y, end)) return;
        add(x, y);
        if (!segment) return;
        long vertical = 0, length = 0;
        const std::size_t c = line.find(',', end + 1);
        if (c == std::string::npos ||
            !ReadInt(std::string_view(line).substr(end + 1, c - end - 1), vertical) ||
            !ReadInt(std::string_view(line).substr(c + 1), length))
            return;
        add(vertical ? x : x + length, vertical ? y + length : y);
    });
    return corner;
}

} // namespace

std::vector<TElectricLine*> TEditor::WiresOfSelection() const {
    // Wires come along when they are selected, or when every pin on their
    // node belongs to a selected element.
    std::vector<TElectricLine*> wires = sheet_.SelectedLines.Items();
    for (const TENode* node : sheet_.Nodes) {
        bool any = false, inside = true;
        for (const TConnector* c : sheet_.ConnectorList) {
            if (!c->FLink || c->FLink->FNode != node) continue;
            any = true;
            if (!c->Parent() || !c->Parent()->FSelected) inside = false;
        }
        if (any && inside)
            for (TElectricLine* s : node->Segments)
                if (!s->FSelected) wires.push_back(s);
    }
    return wires;
}

std::string TEditor::SelectionText() const {
    if (sheet_.SelectedElements.Empty() && sheet_.SelectedLines.Empty()) return {};
    std::set<int> elements, segments;
    for (const TBaseElement* e : sheet_.SelectedElements)
        elements.insert(sheet_.Elements.IndexOf(e));
    for (const TElectricLine* s : WiresOfSelection())
        segments.insert(sheet_.Lines.IndexOf(s));
    // A copy of the whole schematic, cut down to the selection: every link
    // to what is left out goes with it.
    Schematic copy;
    LoadSchematicLines(copy, SchematicToLines(sheet_));
    const auto copiedElements = copy.Elements.Items();
    const auto copiedSegments = copy.Lines.Items();
    for (std::size_t i = 0; i < copiedElements.size(); ++i)
        if (!elements.count(int(i))) copy.FreeElement(copiedElements[i]);
    for (std::size_t i = 0; i < copiedSegments.size(); ++i)
        if (!segments.count(int(i))) delete copiedSegments[i];
    std::string text;
    for (const std::string& line : SchematicToLines(copy))
        text += line + "\n";
    return text;
}

bool TEditor::Paste(const std::string& text, std::optional<TPoint> at) {
    if (!CanEdit()) return false;
    std::vector<std::string> lines = SplitLines(text);
    if (lines.empty() || lines[0] != SchematicSignature) return false;
    AbortDrag();
    Commit(gesture_);
    TPoint d{0, 0};
    const std::optional<TPoint> corner = at ? TopLeftOf(lines) : std::nullopt;
    if (corner) {
        // The drawing's corner goes to the mouse, by a whole number of grid
        // steps so that what sat on the grid stays on it.
        d = SnapOffset(*at - *corner);
        // Rounding must not push the copy off the sheet's top or left edge.
        if (corner->x + d.x < 0) d.x += GridStep;
        if (corner->y + d.y < 0) d.y += GridStep;
        pastedText_.clear();
        pasteCount_ = 0;
    } else {
        pasteCount_ = text == pastedText_ ? pasteCount_ + 1 : 1;
        pastedText_ = text;
        d = {PasteStep * pasteCount_, PasteStep * pasteCount_};
    }
    // The pasted text's run settings stay out; positions move by d.
    std::vector<std::string> shifted;
    shifted.reserve(lines.size());
    bool settings = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "Lines:") settings = false;
        if (i > 0 && settings && lines[i].find('=') != std::string::npos) continue;
        shifted.push_back(std::move(lines[i]));
    }
    ForEachPlacedLine(shifted, [&d](std::string& line, std::size_t from, bool) {
        ShiftFields(line, from, d.x, d.y);
    });
    const int firstElement = sheet_.Elements.Count(), firstSegment = sheet_.Lines.Count();
    LoadSchematicLines(sheet_, shifted);
    sheet_.ClearSelection();
    for (int i = firstElement; i < sheet_.Elements.Count(); ++i)
        sheet_.Elements[i]->SetSelected(true);
    for (int i = firstSegment; i < sheet_.Lines.Count(); ++i)
        sheet_.Lines[i]->Select();
    sheet_.NotifySelection();
    Commit("Вставка");
    Changed();
    return sheet_.Elements.Count() > firstElement || sheet_.Lines.Count() > firstSegment;
}

std::string TEditor::Cut() {
    if (!CanEdit()) return {};
    std::string text = SelectionText();
    if (text.empty()) return text;
    Release();
    for (TElectricLine* s : WiresOfSelection())
        s->Select();
    sheet_.DeleteSelection();
    ForgetMissingDisplays();
    Commit("Вырезание");
    Changed();
    return text;
}

void TEditor::Duplicate() {
    if (!CanEdit()) return;
    const std::string text = SelectionText();
    if (!text.empty()) Paste(text);
}
