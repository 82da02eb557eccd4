#pragma once

#include <map>
#include <string>

#include <QMainWindow>
#include <QTimer>

#include "app/Editor.h"

class QAction;
class QMenu;
class QScrollArea;
class TSheetWidget;
class TStatusPanels;
struct TPaletteEntry;

// The main window "QUENTOR": menus, tool bar, the scrolling sheet and the
// status bar over one TEditor, which holds the schematic and every rule.
class TMainWindow : public QMainWindow, public TSheetHost, public TEditorHost {
    Q_OBJECT
public:
    explicit TMainWindow(QWidget* parent = nullptr);
    ~TMainWindow() override;

    TEditor& Editor() { return editor_; }
    TSheetWidget* SheetWidget() const { return sheet_; }
    QScrollArea* ScrollArea() const { return scroll_; }
    // The command's action by its object name ("StartAction", "RotateAction").
    QAction* Action(const QString& name) const;
    // The palette item that creates the class, or null.
    QAction* PaletteAction(const std::string& className) const;
    // Zooms in or out about a point of the sheet widget, as Ctrl+wheel does.
    void ZoomStep(bool in, QPoint widgetPoint);
    // The help page: the mouse and key commands.
    static QString HelpText();
    // Scales the view so that the whole drawing fits the window.
    void ZoomFit();
    TStatusPanels* StatusPanels() const { return panels_; }

    // The recent files, newest first, as QSettings keeps them ("RecentFiles"
    // of the user's "quentor" settings).
    QStringList RecentFiles() const;
    QMenu* RecentMenu() const { return recentMenu_; }
    // Off for the headless export: it opens a file the user did not choose.
    bool RememberRecent = true;
    // Writes the side file of a modified schematic every few minutes.
    static constexpr int AutosaveMinutes = 3;
    QTimer& AutosaveTimer() { return autosaveTimer_; }

    // TSheetHost
    void SelectionChanged(bool anySelected) override;
    void EditElementParams(TBaseElement& element) override;
    void Repaint() override;

    // The export dialog: a file name whose extension picks SVG, PDF or PNG;
    // empty when cancelled.
    virtual std::optional<QString> ChooseExportFile();

    // TEditorHost
    std::optional<std::string> ChooseSaveFile(const std::string& current) override;
    std::optional<std::string> ChooseOpenFile() override;
    void Post(std::function<void()> task) override;
    void CommandsChanged() override;
    void SheetChanged() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddAction(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key,
                       void (TMainWindow::*slot)());
    void BuildMenus();
    void BuildPalette(QMenu* menu, const TPaletteEntry& entry);
    void BuildToolBar();
    void BuildStatusBar();
    void UpdateActions();
    void RememberFile(const std::string& path);
    void RebuildRecentMenu();
    void OpenRecent(const QString& path);
    void UpdateStatus();

    void PlaceFromPalette(const std::string& className);
    void NewFile();
    void OpenFile();
    void SaveFile();
    void SaveFileAs();
    void Exit();
    void ExportDrawing();
    void ExportSelection();
    void ExportTo(bool selectionOnly);
    void PrintDrawing();
    void Undo();
    void Redo();
    void CutSelection();
    void CopySelection();
    void PasteClipboard();
    void DuplicateSelection();
    void DeleteSelection();
    void AddInput();
    void DeleteInput();
    void Rotate();
    void MirrorLeftRight();
    void MirrorTopBottom();
    void Refresh();
    void ToggleLabels();
    void ToggleGrid();
    void ToggleSnap();
    void ShowHelp();
    void ShowAbout();
    void ZoomIn();
    void ZoomOut();
    void ZoomActual();
    // Sets the scale keeping the sheet point under `viewportPoint` in place.
    void ZoomAbout(double scale, QPoint viewportPoint);
    // Where key zooms centre: the mouse when over the sheet, else the middle.
    QPoint ZoomAnchor() const;
    void Start();
    void Pause();
    void Stop();
    void SimSetup();

    TEditor editor_;
    QScrollArea* scroll_ = nullptr;
    TSheetWidget* sheet_ = nullptr;
    QTimer statusTimer_;
    TStatusPanels* panels_ = nullptr;
    std::map<std::string, QAction*> palette_;
    std::vector<QMenu*> paletteMenus_;
    QMenu* recentMenu_ = nullptr;
    std::string remembered_; // the file name last put on the recent list
    QTimer autosaveTimer_;
};
