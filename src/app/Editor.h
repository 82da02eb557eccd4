#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "Simulation/TSimThread.h"
#include "app/EditorHost.h"
#include "app/SheetHit.h"
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

    // File commands. CanClose asks about unsaved changes and stops a run.
    void New();
    void Open();
    // Clears the schematic and reads the file, without asking.
    bool OpenFile(const std::string& path);
    void Save();
    // True when a file was written.
    bool SaveAs();
    bool CanClose();
    const std::string& FileName() const { return fileName_; }

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

    // What the painter shows.
    TCursorShape CursorShape() const;
    // The rubber band as dragged (start, corner), not normalised.
    std::optional<TRect> RubberBand() const;
    std::vector<TPoint> RubberWire() const;
    std::vector<TPoint> RubberLink() const;
    // The wire hint at a sheet point: "Узел: N", with the potential after a run.
    std::optional<std::string> HintAt(TPoint p) const;
    // The latest value of a display's input in the present or last run.
    std::optional<double> DisplayValue(const TBaseElement& element) const;
    // The nine status panels.
    const std::array<std::string, 9>& StatusPanels() const { return status_; }

private:
    enum class TCapture { None, Element, Connector, SignalPin, Line, Sheet };

    bool CaptureAlive() const;
    void Release();
    // Drops whatever drag or mode is going on, leaving the model as it is.
    void AbortDrag();
    void SelectByRectangle(const TRect& r);
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

    struct TPostGate;
    std::unique_ptr<TSimThread> run_;
    std::shared_ptr<TPostGate> gate_;
    unsigned runGeneration_ = 0;
    bool paused_ = false;
    bool stopping_ = false;
    std::unordered_map<const TBaseElement*, double> displays_;
    std::array<std::string, 9> status_;
};
