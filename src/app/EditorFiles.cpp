// File commands: New, Open, Save, Save As and closing, with their questions.
#include "app/Editor.h"
#include "app/SchematicFile.h"
#include "model/Messages.h"

namespace {

const char* const SaveQuestion = "Сохранить схему в файл ?";
// The open command's question is indented by 17 blanks.
const char* const OpenSaveQuestion = "                 Сохранить схему в файл ?";
const char* const CloseCaption = "АРМ проектировщика САУ";
const char* const RestoreStep = "Восстановление";

} // namespace

void TEditor::ClearSchematic() {
    AbortDrag();
    sheet_.Clear();
    ForgetMissingDisplays();
}

void TEditor::New() {
    if (!CanEdit()) return;
    if (sheet_.Modified) {
        switch (Msg().Question(SaveQuestion, ApplicationTitle)) {
        case TAnswer::Yes:
            // A cancelled save keeps the schematic and its unsaved state.
            if (!SaveAs()) return;
            break;
        case TAnswer::No: DiscardAutosave(); break;
        case TAnswer::Cancel: return;
        }
    }
    ClearSchematic();
    saveEnabled_ = false;
    fileName_.clear();
    sheet_.Modified = false;
    ForgetHistory();
    ShowSettings();
    Changed();
}

bool TEditor::MayOpenAnother() {
    if (!sheet_.Modified) return true;
    switch (Msg().Question(OpenSaveQuestion, ApplicationTitle)) {
    case TAnswer::Yes: return SaveAs();
    case TAnswer::No: DiscardAutosave(); return true;
    case TAnswer::Cancel: break;
    }
    return false;
}

void TEditor::Open() {
    if (!CanEdit() || !MayOpenAnother()) return;
    if (const std::optional<std::string> name = host_.ChooseOpenFile()) OpenFile(*name);
}

bool TEditor::Open(const std::string& path) {
    if (!CanEdit() || !MayOpenAnother()) return false;
    return OpenFile(path);
}

bool TEditor::OpenFile(const std::string& path) {
    if (!CanEdit()) return false;
    ClearSchematic();
    const TLoadResult result = LoadSchematic(sheet_, path);
    saveEnabled_ = result == TLoadResult::Loaded;
    // A failed read leaves an empty or partial schematic: never write it
    // over the file it did not come from.
    fileName_ = saveEnabled_ ? path : std::string();
    sheet_.Modified = false;
    autosaved_.clear();
    ForgetHistory();
    if (saveEnabled_ && OfferRestore) OfferAutosave(path);
    ShowSettings();
    Changed();
    return saveEnabled_;
}

void TEditor::OfferAutosave(const std::string& path) {
    const std::optional<std::string> side = NewerAutosave(path, AutosaveDir);
    if (!side) return;
    if (Msg().Question("Найдена автосохранённая копия схемы " + path +
                           ", более новая, чем файл. Восстановить её?",
                       ApplicationTitle, false) != TAnswer::Yes) {
        RemoveAutosaves(path, AutosaveDir);
        return;
    }
    // The file stays the saved state: undo goes back to it, and the restored
    // schematic is unsaved until the user saves it.
    ClearSchematic();
    if (LoadSchematic(sheet_, *side) != TLoadResult::Loaded) {
        ClearSchematic();
        LoadSchematic(sheet_, path);
        sheet_.Modified = false;
        return;
    }
    Commit(RestoreStep);
}

void TEditor::DiscardAutosave() {
    if (!fileName_.empty()) RemoveAutosaves(fileName_, AutosaveDir);
    autosaved_.clear();
}

bool TEditor::Autosave() {
    // A gesture in progress is no state the user made; the next tick takes it.
    if (!sheet_.Modified || fileName_.empty() || !CanEdit() || capture_ != TCapture::None)
        return false;
    const std::vector<std::string> lines = SchematicToLines(sheet_);
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    if (text == autosaved_) return false;
    if (WriteAutosave(fileName_, lines, AutosaveDir).empty()) return false;
    autosaved_ = std::move(text);
    return true;
}

void TEditor::Save() {
    if (fileName_.empty()) {
        SaveAs();
        return;
    }
    Commit(gesture_);
    if (SaveSchematic(sheet_, fileName_)) {
        undo_.SetClean();
        DiscardAutosave();
    }
    Changed();
}

bool TEditor::SaveAs() {
    const std::optional<std::string> name = host_.ChooseSaveFile(fileName_);
    if (!name) return false;
    Commit(gesture_);
    if (!SaveSchematic(sheet_, *name)) return false;
    undo_.SetClean();
    DiscardAutosave();
    fileName_ = *name;
    DiscardAutosave();
    saveEnabled_ = true;
    Changed();
    return true;
}

bool TEditor::CanClose() {
    if (sheet_.Modified) {
        switch (Msg().Question(SaveQuestion, CloseCaption)) {
        case TAnswer::Yes:
            if (!SaveAs()) return false;
            break;
        case TAnswer::No: DiscardAutosave(); break;
        case TAnswer::Cancel: return false;
        }
    }
    // The run reads the schematic: it ends before the window goes.
    StopRunNow();
    return true;
}
