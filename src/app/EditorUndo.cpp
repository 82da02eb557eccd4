// Undo and redo: the schematic's file text after every gesture, restored by
// reading it back (the file's round trip is exact).
#include "app/Editor.h"
#include "app/SchematicFile.h"
#include "model/TBaseElement.h"
#include "model/TInfoConnector.h"

namespace {

const char* const PlaceStep = "Размещение";
const char* const MoveStep = "Перемещение";
const char* const WireStep = "Проводник";
const char* const WireMoveStep = "Перемещение проводника";
const char* const LinkStep = "Связь";
const char* const AddPinStep = "Добавление входа";
const char* const DeletePinStep = "Удаление входа";
const char* const ParamsStep = "Параметры";
const char* const OtherStep = "Изменение";

} // namespace

std::string TEditor::SheetText() const {
    std::string text;
    for (const std::string& line : SchematicToLines(sheet_)) {
        text += line;
        text += '\n';
    }
    return text;
}

void TEditor::ForgetHistory() {
    undo_.Reset(SheetText());
    gesture_.clear();
}

void TEditor::BeginGesture(const TSheetHit& hit, TMouseButton button) {
    const bool pinMode = sheet_.Editor.PinMode;
    const char* const pinStep = sheet_.Editor.AddPinMode ? AddPinStep : DeletePinStep;
    switch (hit.Kind) {
    case TSheetHit::TKind::SignalPin:
        gesture_ = pinMode ? pinStep : LinkStep;
        break;
    case TSheetHit::TKind::Connector:
        gesture_ = WireStep;
        break;
    case TSheetHit::TKind::Element:
        gesture_ = button == TMouseButton::Right ? ParamsStep : pinMode ? pinStep : MoveStep;
        break;
    case TSheetHit::TKind::Line:
        gesture_ = WireMoveStep;
        break;
    case TSheetHit::TKind::Sheet:
        gesture_ = OtherStep;
        break;
    }
}

void TEditor::Commit(const std::string& name) {
    if (!CanEdit()) return;
    if (undo_.Record(name.empty() ? OtherStep : name, SheetText()))
        sheet_.Modified = !undo_.IsClean();
    gesture_.clear();
}

void TEditor::Restore(const std::string& text) {
    AbortDrag();
    sheet_.Clear();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    LoadSchematicLines(sheet_, lines);
    ForgetMissingDisplays();
    sheet_.Modified = !undo_.IsClean();
    sheet_.NotifySelection();
    ShowSettings();
    Changed();
}

void TEditor::Undo() {
    if (!CanEdit()) return;
    AbortDrag();
    Commit(gesture_);
    if (undo_.CanUndo()) Restore(undo_.Undo());
}

void TEditor::Redo() {
    if (!CanEdit()) return;
    AbortDrag();
    Commit(gesture_);
    if (undo_.CanRedo()) Restore(undo_.Redo());
}
