// The menu bar, the palette menus, the tool bar and the status bar.
#include <QAction>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "app/Palette.h"
#include "gui/MainWindow.h"
#include "gui/StatusPanels.h"
#include "gui/ToolIcons.h"

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

QAction* Inactive(QMenu* menu, const char* caption, const QKeySequence& key = {}) {
    QAction* a = menu->addAction(Q(caption));
    a->setShortcut(key);
    a->setEnabled(false);
    return a;
}

} // namespace

QAction* TMainWindow::AddAction(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key,
                                void (TMainWindow::*slot)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, slot);
    menu->addAction(action);
    return action;
}

void TMainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(Q("&Файл"));
    AddAction(file, "NewAction", Q("&Новый"), QKeySequence("Ctrl+N"), &TMainWindow::NewFile);
    AddAction(file, "OpenAction", Q("&Открыть"), QKeySequence("Ctrl+O"), &TMainWindow::OpenFile);
    recentMenu_ = file->addMenu(Q("Последние файлы"));
    recentMenu_->setObjectName("RecentMenu");
    RebuildRecentMenu();
    AddAction(file, "SaveAction", Q("&Сохранить"), QKeySequence("Ctrl+S"), &TMainWindow::SaveFile);
    AddAction(file, "SaveAsAction", Q("&Сохранить как"), {}, &TMainWindow::SaveFileAs);
    AddAction(file, "ExportAction", Q("Экспорт листа..."), {}, &TMainWindow::ExportDrawing);
    AddAction(file, "ExportSelectionAction", Q("Экспорт выделенного..."), {},
              &TMainWindow::ExportSelection);
    AddAction(file, "PrintAction", Q("Печать..."), {}, &TMainWindow::PrintDrawing);
    Inactive(file, "Свойства");
    file->addSeparator();
    AddAction(file, "ExitAction", Q("&Выход"), QKeySequence("Ctrl+Q"), &TMainWindow::Exit);

    QMenu* edit = menuBar()->addMenu(Q("&Редактировать"));
    AddAction(edit, "UndoAction", Q("Отменить"), QKeySequence::Undo, &TMainWindow::Undo);
    AddAction(edit, "RedoAction", Q("Повторить"), QKeySequence("Ctrl+Shift+Z"), &TMainWindow::Redo);
    edit->addSeparator();
    AddAction(edit, "CutAction", Q("&Вырезать"), QKeySequence("Shift+Del"),
              &TMainWindow::CutSelection);
    AddAction(edit, "CopyAction", Q("&Копировать"), QKeySequence("Ctrl+Ins"),
              &TMainWindow::CopySelection)
        ->setShortcuts({QKeySequence("Ctrl+Ins"), QKeySequence("Ctrl+C")});
    AddAction(edit, "PasteAction", Q("В&ставить"), QKeySequence("Shift+Ins"),
              &TMainWindow::PasteClipboard)
        ->setShortcuts({QKeySequence("Shift+Ins"), QKeySequence("Ctrl+V")});
    AddAction(edit, "DuplicateAction", Q("Дублировать"), QKeySequence("Ctrl+D"),
              &TMainWindow::DuplicateSelection);
    edit->addSeparator();
    AddAction(edit, "AddInputAction", Q("&Добавить вход"), QKeySequence("Ctrl+P"), &TMainWindow::AddInput);
    AddAction(edit, "DeleteInputAction", Q("Удалить вход"), QKeySequence("Ctrl+M"), &TMainWindow::DeleteInput);
    edit->addSeparator();
    AddAction(edit, "RotateAction", Q("Повернуть"), QKeySequence("Ctrl+R"), &TMainWindow::Rotate);
    AddAction(edit, "MirrorLRAction", Q("Отразить слева направо"), QKeySequence("Ctrl+X"),
              &TMainWindow::MirrorLeftRight);
    AddAction(edit, "MirrorTBAction", Q("Отразить серху вниз"), QKeySequence("Ctrl+Y"),
              &TMainWindow::MirrorTopBottom);
    for (const char* name : {"RotateAction", "MirrorLRAction", "MirrorTBAction"}) Action(name)->setEnabled(false);
    edit->addSeparator();
    AddAction(edit, "DeleteAction", Q("Удалить выделенные блоки"), QKeySequence(Qt::Key_Delete),
              &TMainWindow::DeleteSelection);
    AddAction(edit, "RefreshAction", Q("Обновить экран"), QKeySequence(Qt::Key_F5), &TMainWindow::Refresh);

    QMenu* view = menuBar()->addMenu(Q("&Вид"));
    QAction* labels =
        AddAction(view, "LabelsAction", Q("Подписи элементов"), {}, &TMainWindow::ToggleLabels);
    labels->setCheckable(true);
    labels->setChecked(editor_.ShowLabels);
    QAction* grid = AddAction(view, "GridAction", Q("Сетка"), {}, &TMainWindow::ToggleGrid);
    grid->setCheckable(true);
    grid->setChecked(editor_.ShowGrid);
    QAction* snap =
        AddAction(view, "SnapAction", Q("Привязка к сетке"), {}, &TMainWindow::ToggleSnap);
    snap->setCheckable(true);
    snap->setChecked(editor_.SnapToGrid);
    view->addSeparator();
    AddAction(view, "ZoomInAction", Q("Увеличить"), QKeySequence::ZoomIn, &TMainWindow::ZoomIn)
        ->setShortcuts({QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")});
    AddAction(view, "ZoomOutAction", Q("Уменьшить"), QKeySequence::ZoomOut, &TMainWindow::ZoomOut);
    AddAction(view, "ZoomFitAction", Q("Схема целиком"), {}, &TMainWindow::ZoomFit);
    AddAction(view, "ZoomActualAction", Q("Масштаб 100 %"), QKeySequence("Ctrl+0"),
              &TMainWindow::ZoomActual);

    QMenu* sim = menuBar()->addMenu(Q("&Моделирование"));
    AddAction(sim, "StartAction", Q("Старт"), QKeySequence(Qt::Key_F9), &TMainWindow::Start)
        ->setStatusTip(Q("Начать или продолжить моделирования"));
    AddAction(sim, "PauseAction", Q("Пауза"), QKeySequence(Qt::Key_F10), &TMainWindow::Pause)
        ->setStatusTip(Q("Приостановить моделирование"));
    AddAction(sim, "StopAction", Q("Стоп"), QKeySequence("Ctrl+F2"), &TMainWindow::Stop)
        ->setStatusTip(Q("Остановить моделирование"));
    sim->addSeparator();
    AddAction(sim, "SimSetupAction", Q("Параметры моделирования"), {}, &TMainWindow::SimSetup);

    for (const TPaletteEntry& menu : PaletteMenus()) {
        QMenu* m = menuBar()->addMenu(QString::fromStdString(menu.Caption));
        paletteMenus_.push_back(m);
        BuildPalette(m, menu);
    }
    QMenu* help = menuBar()->addMenu(Q("&Помощь"));
    AddAction(help, "HelpAction", Q("Справка"), QKeySequence(Qt::Key_F1), &TMainWindow::ShowHelp);
    AddAction(help, "AboutAction", Q("О программе"), {}, &TMainWindow::ShowAbout);
}

void TMainWindow::BuildPalette(QMenu* menu, const TPaletteEntry& entry) {
    for (const TPaletteEntry& e : entry.Entries) {
        const QString caption = QString::fromStdString(e.Caption);
        if (e.Submenu) {
            BuildPalette(menu->addMenu(caption), e);
            continue;
        }
        QAction* a = menu->addAction(caption);
        a->setEnabled(e.Enabled && !e.ClassName.empty());
        if (e.ClassName.empty()) continue;
        a->setObjectName(QString::fromStdString("Palette" + e.ClassName));
        a->setData(QString::fromStdString(e.ClassName));
        const std::string cls = e.ClassName;
        connect(a, &QAction::triggered, this, [this, cls] { PlaceFromPalette(cls); });
        palette_.emplace(cls, a);
    }
}

void TMainWindow::BuildToolBar() {
    QToolBar* bar = addToolBar(Q("Panel1"));
    bar->setObjectName("Panel1");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(20, 20));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const auto button = [bar](QAction* action, TToolIcon icon, const char* hint) {
        action->setIcon(MakeToolIcon(icon));
        action->setToolTip(Q(hint));
        bar->addAction(action);
    };
    button(Action("NewAction"), TToolIcon::New, "Новый");
    button(Action("OpenAction"), TToolIcon::Open, "Открыть");
    button(Action("SaveAction"), TToolIcon::Save, "Сохранить");
    button(Action("PrintAction"), TToolIcon::Print, "Печатать");
    bar->addSeparator();
    button(Action("UndoAction"), TToolIcon::Undo, "Отменить");
    button(Action("RedoAction"), TToolIcon::Redo, "Повторить");
    bar->addSeparator();
    button(Action("DeleteAction"), TToolIcon::Delete, "Удалить");
    bar->addSeparator();
    button(Action("AddInputAction"), TToolIcon::AddInput, "Добавить вход");
    button(Action("DeleteInputAction"), TToolIcon::DeleteInput, "Удалить вход");
    bar->addSeparator();
    button(Action("StartAction"), TToolIcon::Start, "Старт");
    button(Action("PauseAction"), TToolIcon::Pause, "Пауза");
    button(Action("StopAction"), TToolIcon::Stop, "Стоп");
    bar->addSeparator();
    button(Action("ExitAction"), TToolIcon::Exit, "Выход");
}

void TMainWindow::BuildStatusBar() {
    panels_ = new TStatusPanels;
    statusBar()->addWidget(panels_, 1);
}
