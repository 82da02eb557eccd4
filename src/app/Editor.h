#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "Simulation/TSimThread.h"
#include "app/Autosave.h"
#include "app/EditorHost.h"
#include "app/SheetHit.h"
#include "app/UndoStack.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"

enum class TCursorShape { Default, Cross, Drag, UpArrow, HandPoint };

// The window-level editor of one schematic, without any toolkit: the mouse
// state machine of the sheet (events in sheet coordinates), the editing,
// file and simulation commands, and what the painter shows besides the
// model (rubber band, rubber wire, rubber link, cursor, display values).
class TEditor {
public:
    explicit TEditor(TEditorHost& host);
    ~TEditor();
    TEditor(const TEditor&) = delete;
    TEditor& operator=(const TEditor&) = delete;

    Schematic& Sheet() { return sheet_; }
    const Schematic& Sheet() const { return sheet_; }

    // Mouse and keys, in sheet coordinates.
    void MouseDown(TMouseButton button, bool shift, TPoint p);
    void MouseMove(TPoint p);
    void MouseUp(TMouseButton button, bool shift, TPoint p);
    // Escape: ends the pin mode and drops any drag; what was moved stays.
    void Escape();

    // Palette: creates the element under the cursor and lets it follow the
    // mouse until a click puts it down. Null after a message when the class
    // cannot be created or while a run exists.
    TBaseElement* PlaceElement(const std::string& className, TPoint cursor);

    // Editing commands.
    void DeleteSelection();
    void Rotate();
    void MirrorLeftRight();
    void MirrorTopBottom();
    void BeginPinMode(bool add);
    bool PinMode() const { return sheet_.Editor.PinMode; }

    // The clipboard. The selection as the schematic file's text: the selected
    // elements, wires that are selected or join only selected elements, and
    // the signal links among them; empty when nothing is selected.
    std::string SelectionText() const;
    // Deletes the selection as one step; returns its text.
    std::string Cut();
    // Adds a schematic text, selected, as one step: with its top left corner
    // at `at` (the mouse), else beside what it was copied from (a repeated
    // paste lands a little further each time). False when the text is no
    // schematic or holds nothing.
    bool Paste(const std::string& text, std::optional<TPoint> at = std::nullopt);
    void Duplicate();

    // Undo and redo. Every gesture or command that changed the schematic is
    // one step, named after the command ("Удаление"); a gesture in progress
    // ends first. The selection is not part of a step: nothing is selected
    // after either.
    void Undo();
    void Redo();
    bool UndoEnabled() const { return CanEdit() && undo_.CanUndo(); }
    bool RedoEnabled() const { return CanEdit() && undo_.CanRedo(); }
    std::string UndoName() const { return undo_.UndoName(); }
    std::string RedoName() const { return undo_.RedoName(); }
    const TUndoStack& History() const { return undo_; }
    // Ends the present gesture: records a step when the schematic changed
    // since the last one.
    void Commit(const std::string& name);
    // The schematic as it is now starts a fresh history, as the saved state.
    void ForgetHistory();

    // File commands. CanClose asks about unsaved changes and stops a run.
    void New();
    void Open();
    // Open without the dialog (the recent files): asks about unsaved changes
    // first; false when the user cancelled or the file was not read.
    bool Open(const std::string& path);
    // Clears the schematic and reads the file, without asking.
    bool OpenFile(const std::string& path);
    void Save();
    // True when a file was written.
    bool SaveAs();
    bool CanClose();
    const std::string& FileName() const { return fileName_; }

    // Autosave. The window calls Autosave every few minutes: a modified
    // schematic with a file name goes to its side file (app/Autosave.h),
    // under AutosaveDir when its own directory takes none; opening a file
    // with a newer side file offers to restore it, saving removes it, and so
    // does answering "No" to the save question.
    std::string AutosaveDir = AutosaveStateDir();
    // Off for programs that only read the file (the headless export).
    bool OfferRestore = true;
    // True when a side file was written.
    bool Autosave();

    // Simulation commands.
    void Start();
    void Pause();
    void Stop();
    // The status timer: model time and display values.
    void UpdateSimStatus();
    // The settings dialog closed; `valuesChanged`: some setting got a new
    // value, which the file keeps.
    void SettingsChanged(bool valuesChanged);
    bool RunExists() const { return run_ != nullptr; }
    bool RunPaused() const { return run_ && paused_; }
    // Where the run writes its files, and whether it starts the viewer.
    TSimThread::Options RunOptions;

    // Command availability.
    bool CanEdit() const { return !run_; }
    bool CanTransform() const { return CanEdit() && !sheet_.SelectedElements.Empty(); }
    bool SaveEnabled() const { return saveEnabled_; }
    bool StartEnabled() const { return !run_ || (paused_ && !stopping_); }
    bool PauseEnabled() const { return run_ && !paused_ && !stopping_; }
    bool StopEnabled() const { return run_ && !stopping_; }
    bool SettingsEnabled() const { return !run_; }

    // View option: element names and main values beside the pictures.
    bool ShowLabels = true;
    // The dot grid, in sheet pixels, and whether placed and moved elements
    // (and pastes at the mouse) land on it. The file keeps plain pixels.
    static constexpr int GridStep = 10;
    bool ShowGrid = true;
    bool SnapToGrid = true;
    // `v` rounded to the nearest grid line while snapping is on.
    int Snap(int v) const;
    TPoint SnapOffset(TPoint d) const { return {Snap(d.x), Snap(d.y)}; }

    // What the painter shows.
    TCursorShape CursorShape() const;
    // The rubber band as dragged (start, corner), not normalised.
    std::optional<TRect> RubberBand() const;
    std::vector<TPoint> RubberWire() const;
    std::vector<TPoint> RubberLink() const;
    // The tooltip at a sheet point: the element's name, class and parameters,
    // or the wire's node.
    std::optional<std::string> TooltipAt(TPoint p) const;
    // The wire hint at a sheet point: "Узел: N", with the potential after a run.
    std::optional<std::string> HintAt(TPoint p) const;
    // The latest value of a display's input in the present or last run.
    std::optional<double> DisplayValue(const TBaseElement& element) const;
    // The latest value of an element's signal output in the present or last run.
    std::optional<double> OutputValue(const TBaseElement& element) const;
    // The nine status panels.
    const std::array<std::string, 9>& StatusPanels() const { return status_; }

private:
    enum class TCapture { None, Element, Connector, SignalPin, Line, Sheet };

    bool CaptureAlive() const;
    void Release();
    // Drops whatever drag or mode is going on, leaving the model as it is.
    void AbortDrag();
    void SelectByRectangle(const TRect& r);
    // The mouse point that puts the dragged element's corner on the grid.
    TPoint SnappedDrag(TPoint p) const;
    void ClearSchematic();
    void ForgetMissingDisplays();
    void ShowSettings();
    void ShowTime();
    void RefreshDisplays();
    void EndRun(unsigned generation, const TRunResult& result);
    // Ends a run at once, waiting for the worker, without the end-of-run
    // updates: the window is going away.
    void StopRunNow();
    void Changed();
    std::string SheetText() const;
    // The selected segments and those whose node joins only selected elements.
    std::vector<TElectricLine*> WiresOfSelection() const;
    void Restore(const std::string& text);
    // The step the gesture in progress will be recorded as.
    void BeginGesture(const TSheetHit& hit, TMouseButton button);

    TEditorHost& host_;
    Schematic sheet_;

    TCapture capture_ = TCapture::None;
    bool placing_ = false;  // a palette element follows the mouse without a button
    TBaseElement* capturedElement_ = nullptr;
    TConnector* capturedConnector_ = nullptr;
    TInfoConnector* capturedPin_ = nullptr;
    TElectricLine* capturedLine_ = nullptr;
    TPoint mouse_;
    bool rubberBand_ = false;
    TPoint bandStart_, bandCorner_;

    std::string fileName_;
    bool saveEnabled_ = false;
    std::string autosaved_; // the text the side file holds
    void OfferAutosave(const std::string& path);
    // The open command's question about unsaved changes; false: cancelled.
    bool MayOpenAnother();
    void DiscardAutosave();

    TUndoStack undo_;
    std::string gesture_;
    std::string pastedText_;
    int pasteCount_ = 0;

    struct TPostGate;
    std::unique_ptr<TSimThread> run_;
    // The last run's context after its end: the wires' hints show its potentials.
    std::unique_ptr<TRunContext> lastRun_;
    std::shared_ptr<TPostGate> gate_;
    unsigned runGeneration_ = 0;
    bool paused_ = false;
    bool stopping_ = false;
    std::unordered_map<const TBaseElement*, double> displays_;
    std::unordered_map<const TBaseElement*, double> outputs_;
    std::array<std::string, 9> status_;
};
