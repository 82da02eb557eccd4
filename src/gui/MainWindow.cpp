#include "gui/MainWindow.h"

#include <cmath>

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>

#include "Simulation/SimModel.h"
#include "app/RecentFiles.h"
#include "app/SheetLabels.h"
#include "gui/ParamsDialogs.h"
#include "gui/SheetExport.h"
#include "gui/SheetWidget.h"
#include "gui/SimParamsDialog.h"
#include "gui/StatusPanels.h"
#include "model/Messages.h"

TMainWindow::TMainWindow(QWidget* parent) : QMainWindow(parent), editor_(*this) {
    setObjectName("Form1");
    editor_.Sheet().Host = this;

    scroll_ = new QScrollArea;
    scroll_->setObjectName("ScrollBox1");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setBackgroundRole(QPalette::Base);
    QPalette white = scroll_->palette();
    white.setColor(QPalette::Base, Qt::white);
    scroll_->setPalette(white);
    sheet_ = new TSheetWidget(editor_);
    scroll_->setWidget(sheet_);
    sheet_->ZoomRequest = [this](bool in, QPoint at) { ZoomStep(in, at); };
    setCentralWidget(scroll_);

    BuildMenus();
    BuildToolBar();
    BuildStatusBar();

    autosaveTimer_.setInterval(AutosaveMinutes * 60 * 1000);
    connect(&autosaveTimer_, &QTimer::timeout, this, [this] { editor_.Autosave(); });
    autosaveTimer_.start();

    statusTimer_.setInterval(500);
    connect(&statusTimer_, &QTimer::timeout, this, [this] { editor_.UpdateSimStatus(); });

    resize(766, 514);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    UpdateActions();
    UpdateStatus();
}

TMainWindow::~TMainWindow() {
    statusTimer_.stop();
    editor_.Sheet().Host = nullptr;
}

QAction* TMainWindow::Action(const QString& name) const { return findChild<QAction*>(name); }

QAction* TMainWindow::PaletteAction(const std::string& className) const {
    const auto it = palette_.find(className);
    return it == palette_.end() ? nullptr : it->second;
}

void TMainWindow::SelectionChanged(bool) { UpdateActions(); }

void TMainWindow::EditElementParams(TBaseElement& element) {
    // Accepted values are worth a save question when the schematic closes.
    if (ShowParamsDialog(element, this)) element.Sheet().Modified = true;
}

void TMainWindow::Repaint() { sheet_->update(); }

std::optional<std::string> TMainWindow::ChooseSaveFile(const std::string& current) {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("dvn");
    dialog.setNameFilters({"Dravon 1.0 file ( *.dvn)", "All Files ( *.* )"});
    if (!current.empty()) dialog.selectFile(QString::fromStdString(current));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> TMainWindow::ChooseOpenFile() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix("dvn");
    dialog.setNameFilters({"Dravon 1.0 ( *.dvn )", "All Files ( *.* )"});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

void TMainWindow::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void TMainWindow::CommandsChanged() {
    UpdateActions();
    UpdateStatus();
    if (editor_.RunExists() && !statusTimer_.isActive()) statusTimer_.start();
    if (!editor_.RunExists()) statusTimer_.stop();
}

void TMainWindow::SheetChanged() {
    sheet_->update();
    sheet_->UpdateCursor();
}

void TMainWindow::closeEvent(QCloseEvent* event) {
    if (editor_.CanClose()) {
        statusTimer_.stop();
        event->accept();
    } else {
        event->ignore();
    }
}

void TMainWindow::UpdateActions() {
    const bool edit = editor_.CanEdit();
    const auto enable = [this](const char* name, bool on) {
        if (QAction* a = Action(name)) a->setEnabled(on);
    };
    enable("NewAction", edit);
    enable("OpenAction", edit);
    enable("SaveAction", editor_.SaveEnabled());
    enable("AddInputAction", edit);
    enable("DeleteInputAction", edit);
    enable("DeleteAction", edit);
    const bool selection =
        !editor_.Sheet().SelectedElements.Empty() || !editor_.Sheet().SelectedLines.Empty();
    enable("CutAction", edit && selection);
    enable("CopyAction", selection);
    enable("DuplicateAction", edit && selection);
    enable("PasteAction", edit);
    const bool drawing = !editor_.Sheet().Elements.Empty() || !editor_.Sheet().Lines.Empty();
    enable("ExportAction", drawing);
    enable("PrintAction", drawing);
    enable("ExportSelectionAction", selection);
    const std::string& file = editor_.FileName();
    const QString title = QString::fromUtf8(ApplicationTitle);
    setWindowTitle(file.empty()
                       ? title + "[*]"
                       : QFileInfo(QString::fromStdString(file)).fileName() + "[*] - " + title);
    setWindowModified(editor_.Sheet().Modified);
    if (file != remembered_) RememberFile(file);
    // The menu names the step; the tool bar keeps its short hint.
    const auto step = [this](const char* name, const char* verb, bool on, const std::string& what) {
        QAction* a = Action(name);
        if (!a) return;
        a->setEnabled(on);
        a->setText(what.empty() ? QString::fromUtf8(verb)
                                : QString::fromUtf8(verb) + ": " + QString::fromStdString(what));
        a->setToolTip(QString::fromUtf8(verb));
    };
    step("UndoAction", "Отменить", editor_.UndoEnabled(), editor_.UndoName());
    step("RedoAction", "Повторить", editor_.RedoEnabled(), editor_.RedoName());
    // Rotate and mirror change together, only when the state changes.
    const bool transform = editor_.CanTransform();
    if (QAction* rotate = Action("RotateAction"); rotate && rotate->isEnabled() != transform) {
        rotate->setEnabled(transform);
        enable("MirrorLRAction", transform);
        enable("MirrorTBAction", transform);
    }
    enable("StartAction", editor_.StartEnabled());
    enable("PauseAction", editor_.PauseEnabled());
    enable("StopAction", editor_.StopEnabled());
    enable("SimSetupAction", editor_.SettingsEnabled());
    for (QMenu* menu : paletteMenus_) menu->menuAction()->setEnabled(edit);
}

namespace {

QSettings UserSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "quentor", "quentor");
}

const char* const RecentKey = "RecentFiles";

std::vector<std::string> ToStd(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& s : list) out.push_back(s.toStdString());
    return out;
}

QStringList ToQt(const std::vector<std::string>& list) {
    QStringList out;
    for (const std::string& s : list) out << QString::fromStdString(s);
    return out;
}

} // namespace

QStringList TMainWindow::RecentFiles() const { return UserSettings().value(RecentKey).toStringList(); }

void TMainWindow::RememberFile(const std::string& path) {
    remembered_ = path;
    if (path.empty() || !RememberRecent) return;
    const QString full = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    UserSettings().setValue(RecentKey, ToQt(WithRecentFile(ToStd(RecentFiles()), full.toStdString())));
    RebuildRecentMenu();
}

void TMainWindow::RebuildRecentMenu() {
    if (!recentMenu_) return;
    recentMenu_->clear();
    const QStringList files = RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        // "&1 rc.dvn" .. "1&0 rc.dvn": the digit is the menu key.
        const QString number = i < 9 ? "&" + QString::number(i + 1) : "1&0";
        QAction* a = recentMenu_->addAction(number + " " + QFileInfo(path).fileName());
        a->setData(path);
        a->setToolTip(path);
        a->setStatusTip(path);
        connect(a, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void TMainWindow::OpenRecent(const QString& path) {
    if (editor_.Open(path.toStdString()) || QFileInfo(path).isReadable()) return;
    // A file that can no longer be read leaves the list.
    UserSettings().setValue(RecentKey, ToQt(WithoutRecentFile(ToStd(RecentFiles()), path.toStdString())));
    RebuildRecentMenu();
}

void TMainWindow::UpdateStatus() {
    const auto& texts = editor_.StatusPanels();
    for (int i = 0; i < TStatusPanels::Count; ++i) panels_->SetText(i, QString::fromStdString(texts[std::size_t(i)]));
}

void TMainWindow::PlaceFromPalette(const std::string& className) {
    const QPoint at = sheet_->mapFromGlobal(QCursor::pos());
    editor_.PlaceElement(className, sheet_->Zoom().ToSheet(at.x(), at.y()));
    sheet_->setFocus();
}

void TMainWindow::NewFile() { editor_.New(); }
void TMainWindow::OpenFile() { editor_.Open(); }
void TMainWindow::SaveFile() { editor_.Save(); }
void TMainWindow::SaveFileAs() { editor_.SaveAs(); }
void TMainWindow::Exit() { close(); }

std::optional<QString> TMainWindow::ChooseExportFile() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({"SVG ( *.svg )", "PDF ( *.pdf )", "PNG ( *.png )"});
    dialog.setDefaultSuffix("svg");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

void TMainWindow::PrintDrawing() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { PrintSheet(editor_, *target); });
    preview.exec();
}

void TMainWindow::ExportDrawing() {
    ExportTo(false);
}
void TMainWindow::ExportSelection() {
    ExportTo(true);
}

void TMainWindow::ExportTo(bool selectionOnly) {
    const std::optional<QString> path = ChooseExportFile();
    if (!path) return;
    QString error;
    if (!ExportSheet(editor_, *path, selectionOnly, &error))
        Msg().Error(error.toStdString(), ApplicationTitle);
}
namespace {

// The clipboard's own type; plain text goes along for other programs.
const char* const SchematicMimeType = "application/x-quentor-schematic";

void PutOnClipboard(const std::string& text) {
    if (text.empty()) return;
    auto* data = new QMimeData;
    const QByteArray bytes = QByteArray::fromStdString(text);
    data->setData(SchematicMimeType, bytes);
    data->setText(QString::fromUtf8(bytes));
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace

void TMainWindow::CutSelection() {
    PutOnClipboard(editor_.Cut());
}

void TMainWindow::CopySelection() {
    PutOnClipboard(editor_.SelectionText());
}

void TMainWindow::PasteClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return;
    const QByteArray bytes =
        data->hasFormat(SchematicMimeType) ? data->data(SchematicMimeType) : data->text().toUtf8();
    // At the mouse when it is over the visible sheet, else beside the originals.
    std::optional<TPoint> at;
    const QPoint mouse = scroll_->viewport()->mapFromGlobal(QCursor::pos());
    if (scroll_->viewport()->rect().contains(mouse)) {
        const QPoint p = sheet_->mapFrom(scroll_->viewport(), mouse);
        at = sheet_->Zoom().ToSheet(p.x(), p.y());
    }
    editor_.Paste(bytes.toStdString(), at);
}

void TMainWindow::DuplicateSelection() {
    editor_.Duplicate();
}

void TMainWindow::Undo() {
    editor_.Undo();
}
void TMainWindow::Redo() {
    editor_.Redo();
}
void TMainWindow::DeleteSelection() { editor_.DeleteSelection(); }
void TMainWindow::AddInput() { editor_.BeginPinMode(true); }
void TMainWindow::DeleteInput() { editor_.BeginPinMode(false); }
void TMainWindow::Rotate() { editor_.Rotate(); }
void TMainWindow::MirrorLeftRight() { editor_.MirrorLeftRight(); }
void TMainWindow::MirrorTopBottom() { editor_.MirrorTopBottom(); }
void TMainWindow::Start() { editor_.Start(); }
void TMainWindow::Pause() { editor_.Pause(); }
void TMainWindow::Stop() { editor_.Stop(); }

void TMainWindow::ZoomAbout(double scale, QPoint viewportPoint) {
    const double old = sheet_->Zoom().Scale();
    QScrollBar* h = scroll_->horizontalScrollBar();
    QScrollBar* v = scroll_->verticalScrollBar();
    // The sheet point under the anchor, before the scale changes.
    const double sx = viewportPoint.x() - sheet_->x();
    const double sy = viewportPoint.y() - sheet_->y();
    sheet_->SetScale(scale);
    const TZoom& zoom = sheet_->Zoom();
    h->setValue(int(std::lround(zoom.ScrollFor(sx / old, viewportPoint.x()))));
    v->setValue(int(std::lround(zoom.ScrollFor(sy / old, viewportPoint.y()))));
}

QPoint TMainWindow::ZoomAnchor() const {
    const QPoint mouse = scroll_->viewport()->mapFromGlobal(QCursor::pos());
    return scroll_->viewport()->rect().contains(mouse) ? mouse
                                                       : scroll_->viewport()->rect().center();
}

void TMainWindow::ZoomStep(bool in, QPoint widgetPoint) {
    TZoom next = sheet_->Zoom();
    if (in)
        next.In();
    else
        next.Out();
    ZoomAbout(next.Scale(), sheet_->mapTo(scroll_->viewport(), widgetPoint));
}

void TMainWindow::ZoomIn() {
    ZoomStep(true, sheet_->mapFrom(scroll_->viewport(), ZoomAnchor()));
}
void TMainWindow::ZoomOut() {
    ZoomStep(false, sheet_->mapFrom(scroll_->viewport(), ZoomAnchor()));
}
void TMainWindow::ZoomActual() {
    ZoomAbout(1, ZoomAnchor());
}

void TMainWindow::ZoomFit() {
    const auto bounds = DrawingBounds(editor_.Sheet(), false, 20);
    if (!bounds) return;
    TZoom fit;
    const QSize view = scroll_->viewport()->size();
    fit.Fit(*bounds, view.width(), view.height());
    sheet_->SetScale(fit.Scale());
    scroll_->horizontalScrollBar()->setValue(int(std::lround(bounds->left * fit.Scale())));
    scroll_->verticalScrollBar()->setValue(int(std::lround(bounds->top * fit.Scale())));
}

QString TMainWindow::HelpText() {
    return QString::fromUtf8(
        "<h3>Мышь</h3>"
        "<p>Элемент из меню «Блоки», «Элементы», «Посредники» следует за мышью до щелчка. "
        "Протяжка от вывода рисует провод, от выхода блока ко входу — связь. "
        "Протяжка по пустому листу вправо вниз выделяет, Shift+щелчок добавляет к выделению. "
        "Правая кнопка на элементе открывает его параметры. Ctrl+колесо меняет масштаб. "
        "Вставка кладёт копию к мыши, когда мышь над листом. «Вид» → «Сетка» показывает "
        "сетку, «Привязка к сетке» ставит на неё размещаемые и перетаскиваемые элементы. "
        "Подсказка над элементом показывает его параметры и после моделирования его выход.</p>"
        "<h3>Клавиши</h3><table>"
        "<tr><td>Ctrl+Z / Ctrl+Shift+Z</td><td>отменить / повторить</td></tr>"
        "<tr><td>Shift+Del, Ctrl+Ins, Shift+Ins</td><td>вырезать, копировать, вставить (и Ctrl+C, "
        "Ctrl+V)</td></tr>"
        "<tr><td>Ctrl+D</td><td>дублировать</td></tr>"
        "<tr><td>Del</td><td>удалить выделенное</td></tr>"
        "<tr><td>Ctrl+R, Ctrl+X, Ctrl+Y</td><td>повернуть, отразить слева направо, сверху "
        "вниз</td></tr>"
        "<tr><td>Ctrl+P, Ctrl+M</td><td>добавить вход, удалить вход</td></tr>"
        "<tr><td>Ctrl++, Ctrl+−, Ctrl+0</td><td>увеличить, уменьшить, масштаб 100 %</td></tr>"
        "<tr><td>F9, F10, Ctrl+F2</td><td>старт, пауза, стоп</td></tr>"
        "<tr><td>Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+Q</td><td>новый, открыть, сохранить, выход</td></tr>"
        "<tr><td>Esc</td><td>закончить режим выводов или протяжку</td></tr></table>");
}

void TMainWindow::ShowHelp() {
    QMessageBox::information(this, QString::fromUtf8("Справка"), HelpText());
}

void TMainWindow::ShowAbout() {
    QMessageBox::about(
        this, QString::fromUtf8("О программе"),
        QString::fromUtf8("<b>QUENTOR</b> ") + QUENTOR_VERSION +
            QString::fromUtf8("<p>АРМ проектировщика САУ: электрические цепи, электрические "
                              "машины и структурные схемы на одном листе, моделирование во "
                              "времени и графики.</p>"));
}

void TMainWindow::ToggleLabels() {
    editor_.ShowLabels = Action("LabelsAction")->isChecked();
    sheet_->update();
}

void TMainWindow::ToggleGrid() {
    editor_.ShowGrid = Action("GridAction")->isChecked();
    sheet_->update();
}

void TMainWindow::ToggleSnap() { editor_.SnapToGrid = Action("SnapAction")->isChecked(); }

void TMainWindow::Refresh() {
    sheet_->update();
    UpdateStatus();
}

void TMainWindow::SimSetup() {
    if (!editor_.SettingsEnabled()) return;
    TSimParams dialog(editor_.Sheet().RunSettings, this);
    dialog.exec();
    editor_.SettingsChanged(dialog.Changed());
}
