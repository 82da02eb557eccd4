// File commands: New, Open, Save, Save As and closing, with their questions.
#include "app/Editor.h"
#include "app/SchematicFile.h"
#include "model/Messages.h"

namespace {

const char* const SaveQuestion = "Сохранить схему в файл ?";
// The open command's question is indented by 17 blanks.
const char* const OpenSaveQuestion = "                 Сохранить схему в файл ?";
const char* const CloseCaption = "АРМ проектировщика САУ";

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
        case TAnswer::No: break;
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

void TEditor::Open() {
    if (!CanEdit()) return;
    if (sheet_.Modified) {
        switch (Msg().Question(OpenSaveQuestion, ApplicationTitle)) {
        case TAnswer::Yes:
            if (!SaveAs()) return;
            break;
        case TAnswer::No: break;
        case TAnswer::Cancel: return;
        }
    }
    if (const std::optional<std::string> name = host_.ChooseOpenFile()) OpenFile(*name);
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
    ForgetHistory();
    ShowSettings();
    Changed();
    return saveEnabled_;
}

void TEditor::Save() {
    if (fileName_.empty()) {
        SaveAs();
        return;
    }
    Commit(gesture_);
    if (SaveSchematic(sheet_, fileName_)) undo_.SetClean();
    Changed();
}

bool TEditor::SaveAs() {
    const std::optional<std::string> name = host_.ChooseSaveFile(fileName_);
    if (!name) return false;
    Commit(gesture_);
    if (!SaveSchematic(sheet_, *name)) return false;
    undo_.SetClean();
    fileName_ = *name;
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
        case TAnswer::No: break;
        case TAnswer::Cancel: return false;
        }
    }
    // The run reads the schematic: it ends before the window goes.
    StopRunNow();
    return true;
}
