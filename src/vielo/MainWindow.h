#pragma once

#include <QMainWindow>
#include <functional>
#include <vector>

class InputPanel;
class PlotArea;
class QLabel;
class QMenu;

// The viewer's window: the plots, the list of inputs, menus, tool bar and
// a status bar with the cross-hair readout.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // Shows the file's plots; on failure tells the user and shows none.
    bool Open(const QString& path);
    // Several runs together, each run's curves named by its variant.
    bool OpenFiles(const QStringList& paths);
    PlotArea* Plots() const { return plots_; }
    InputPanel* Inputs() const { return inputs_; }
    // Used by tests instead of the modal boxes; when set, errors and
    // warnings go here.
    void SetErrorSink(std::function<void(const QString&)> sink) { errorSink_ = std::move(sink); }

    void SetStacked(bool stacked);
    bool SavePicture(const QString& path);
    bool ExportCsv(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateCurveActions();
    void ShowError(const QString& text);
    void ShowWarning(const QString& text);
    void UpdateFileInfo();
    void UpdateViewActions();
    void ShowCursor(double time, double value);
    void ShowAllCurves(bool shown);
    void AskOpen();
    void AskSavePicture();
    void AskExportCsv();
    void ShowControls();
    void ShowAbout();
    QString SuggestedPath(const QString& suffix) const;

    QString path_;
    QStringList paths_;
    PlotArea* plots_;
    InputPanel* inputs_;
    QLabel* fileInfo_;
    QLabel* cursorInfo_;
    QMenu* curvesMenu_ = nullptr;
    std::vector<QAction*> curveActions_;
    QAction* reload_ = nullptr;
    QAction* savePicture_ = nullptr;
    QAction* exportCsv_ = nullptr;
    QAction* previous_ = nullptr;
    QAction* stacked_ = nullptr;
    QAction* showAll_ = nullptr;
    QAction* hideAll_ = nullptr;
    std::function<void(const QString&)> errorSink_;
};
