// Cut, copy, paste and duplicate: a selection travels as the schematic
// file's own text, holding the selected elements, their wires and the
// signal links among them.
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

// Adds (dx, dy) to the first two fields of "a,b,..." after `from`.
bool ShiftFields(std::string& line, std::size_t from, int dx, int dy) {
    const std::size_t c1 = line.find(',', from);
    if (c1 == std::string::npos) return false;
    std::size_t c2 = line.find_first_of(",([", c1 + 1);
    if (c2 == std::string::npos) c2 = line.size();
    long x = 0, y = 0;
    if (!ReadInt(std::string_view(line).substr(from, c1 - from), x) ||
        !ReadInt(std::string_view(line).substr(c1 + 1, c2 - c1 - 1), y))
        return false;
    line = line.substr(0, from) + std::to_string(x + dx) + "," + std::to_string(y + dy) +
           line.substr(c2);
    return true;
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

bool TEditor::Paste(const std::string& text) {
    if (!CanEdit()) return false;
    std::vector<std::string> lines = SplitLines(text);
    if (lines.empty() || lines[0] != SchematicSignature) return false;
    AbortDrag();
    Commit(gesture_);
    pasteCount_ = text == pastedText_ ? pasteCount_ + 1 : 1;
    pastedText_ = text;
    const int d = PasteStep * pasteCount_;
    // The pasted text's run settings stay out; positions move by d.
    std::vector<std::string> shifted{lines[0]};
    enum { Settings, Segments, Joints, Records, Rest } section = Settings;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (section == Settings && line.find('=') != std::string::npos) continue;
        if (line == "Lines:")
            section = Segments;
        else if (line == "EOL")
            section = Joints;
        else if (line == "EOC")
            section = Records;
        else if (line == "EOE")
            section = Rest;
        else if (section == Segments)
            ShiftFields(line, 0, d, d);
        else if (section == Records && !line.empty() && line[0] != ' ') {
            if (const std::size_t colon = line.find(':'); colon != std::string::npos)
                ShiftFields(line, colon + 1, d, d);
        }
        shifted.push_back(std::move(line));
    }
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
