#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>

#include "vielo/Icons.h"
#include "vielo/MainWindow.h"
#include "vielo/PlotArea.h"

namespace {

// Fraction of the view moved by one arrow key.
constexpr double PanStep = 0.1;
constexpr double ZoomStep = 0.8;

QAction* Make(QObject* parent, const QString& text, const QList<QKeySequence>& keys,
              const QIcon& icon = QIcon()) {
    auto* action = new QAction(icon, text, parent);
    action->setShortcuts(keys);
    if (!keys.isEmpty())
        action->setToolTip(text + " (" + keys.front().toString(QKeySequence::NativeText) + ")");
    return action;
}

QString WithSuffix(QString path, const QString& suffix) {
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += "." + suffix;
    return path;
}

} // namespace

void MainWindow::CreateActions() {
    QMenu* file = menuBar()->addMenu("&Файл");
    QAction* open = Make(this, "&Открыть…", {QKeySequence::Open}, Icons::Open());
    reload_ = Make(this, "О&бновить", {Qt::Key_F5, QKeySequence("Ctrl+R")}, Icons::Reload());
    savePicture_ = Make(this, "&Сохранить рисунок…", {QKeySequence::Save}, Icons::SavePicture());
    exportCsv_ = Make(this, "&Экспорт в CSV…", {QKeySequence("Ctrl+E")}, Icons::ExportTable());
    QAction* quit = Make(this, "В&ыход", {QKeySequence("Ctrl+Q")});
    connect(open, &QAction::triggered, this, &MainWindow::AskOpen);
    connect(reload_, &QAction::triggered, this, [this] { OpenFiles(paths_); });
    connect(savePicture_, &QAction::triggered, this, &MainWindow::AskSavePicture);
    connect(exportCsv_, &QAction::triggered, this, &MainWindow::AskExportCsv);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    file->addActions({open, reload_});
    file->addSeparator();
    file->addActions({savePicture_, exportCsv_});
    file->addSeparator();
    file->addAction(quit);

    QMenu* view = menuBar()->addMenu("&Вид");
    view->setObjectName("view");
    QAction* fit =
        Make(this, "&Исходный масштаб", {Qt::Key_Home, QKeySequence("Ctrl+0")}, Icons::Fit());
    previous_ = Make(this, "&Предыдущий масштаб", {Qt::Key_Backspace, QKeySequence::Undo},
                     Icons::Previous());
    QAction* zoomIn = Make(this, "&Увеличить", {QKeySequence::ZoomIn, Qt::Key_Plus, Qt::Key_Equal},
                           Icons::ZoomIn());
    QAction* zoomOut =
        Make(this, "У&меньшить", {QKeySequence::ZoomOut, Qt::Key_Minus}, Icons::ZoomOut());
    stacked_ = Make(this, "&Раздельные графики", {QKeySequence("Ctrl+T")}, Icons::Stacked());
    stacked_->setCheckable(true);
    connect(fit, &QAction::triggered, plots_, &PlotArea::FitView);
    connect(previous_, &QAction::triggered, plots_, &PlotArea::PreviousView);
    connect(zoomIn, &QAction::triggered, plots_, [this] { plots_->Zoom(ZoomStep); });
    connect(zoomOut, &QAction::triggered, plots_, [this] { plots_->Zoom(1 / ZoomStep); });
    connect(stacked_, &QAction::toggled, plots_, &PlotArea::SetStacked);
    view->addActions({fit, previous_, zoomIn, zoomOut});
    QMenu* pan = view->addMenu("С&двиг");
    const struct {
        const char* Text;
        Qt::Key Key;
        double Dx, Dy;
    } moves[] = {{"Влево", Qt::Key_Left, -PanStep, 0},
                 {"Вправо", Qt::Key_Right, PanStep, 0},
                 {"Вверх", Qt::Key_Up, 0, PanStep},
                 {"Вниз", Qt::Key_Down, 0, -PanStep}};
    for (const auto& m : moves) {
        QAction* a = Make(this, m.Text, {m.Key});
        const double dx = m.Dx, dy = m.Dy;
        connect(a, &QAction::triggered, plots_, [this, dx, dy] { plots_->Pan(dx, dy); });
        pan->addAction(a);
    }
    view->addSeparator();
    view->addAction(stacked_);
    curvesMenu_ = view->addMenu("&Кривые");
    showAll_ = Make(this, "Показать все", {QKeySequence("Ctrl+A")});
    hideAll_ = Make(this, "Скрыть все", {QKeySequence("Ctrl+Shift+A")});
    connect(showAll_, &QAction::triggered, this, [this] { ShowAllCurves(true); });
    connect(hideAll_, &QAction::triggered, this, [this] { ShowAllCurves(false); });
    addActions({showAll_, hideAll_});
    view->addSeparator();

    QMenu* help = menuBar()->addMenu("&Справка");
    QAction* controls = Make(this, "&Управление", {QKeySequence::HelpContents});
    QAction* about = Make(this, "&О программе", {});
    connect(controls, &QAction::triggered, this, &MainWindow::ShowControls);
    connect(about, &QAction::triggered, this, &MainWindow::ShowAbout);
    help->addActions({controls, about});

    QToolBar* bar = addToolBar("Панель инструментов");
    bar->setObjectName("tools");
    bar->setMovable(false);
    bar->setIconSize(QSize(22, 22));
    bar->addActions({open, reload_, savePicture_, exportCsv_});
    bar->addSeparator();
    bar->addActions({fit, previous_, zoomIn, zoomOut});
    bar->addSeparator();
    bar->addAction(stacked_);
    CreateCurveActions();
}

void MainWindow::CreateCurveActions() {
    for (QAction* a : curveActions_)
        delete a;
    curveActions_.clear();
    curvesMenu_->clear();
    const auto& data = plots_->Data();
    const int inputs = data ? data->InputCount() : 0;
    curvesMenu_->setEnabled(inputs > 0);
    curvesMenu_->addActions({showAll_, hideAll_});
    curvesMenu_->addSeparator();
    for (int i = 0; i < inputs; ++i) {
        // Keys 1 to 9, then 0 for the tenth input.
        QList<QKeySequence> keys;
        if (i < 10) keys.append(QKeySequence(Qt::Key_0 + (i + 1) % 10));
        // A name's "&" is text, not a mnemonic.
        const QString name = QString::fromStdString(data->InputName(i)).replace('&', "&&");
        QAction* a = Make(curvesMenu_, name, keys);
        a->setCheckable(true);
        a->setChecked(plots_->CurveVisible(i));
        connect(a, &QAction::toggled, plots_,
                [this, i](bool on) { plots_->SetCurveVisible(i, on); });
        curvesMenu_->addAction(a);
        addAction(a);
        curveActions_.push_back(a);
    }
}

void MainWindow::SetStacked(bool stacked) {
    stacked_->setChecked(stacked);
}

void MainWindow::ShowAllCurves(bool shown) {
    const auto& data = plots_->Data();
    for (int i = 0; data && i < data->InputCount(); ++i)
        plots_->SetCurveVisible(i, shown);
}

void MainWindow::AskOpen() {
    const QString path = QFileDialog::getOpenFileName(
        this, "Открыть файл графиков", QFileInfo(SuggestedPath("grp")).absolutePath(),
        "Графики (*.grp);;Все файлы (*)");
    if (!path.isEmpty()) Open(path);
}

void MainWindow::AskSavePicture() {
    const QString path = QFileDialog::getSaveFileName(this, "Сохранить рисунок",
                                                      SuggestedPath("png"), "Рисунок PNG (*.png)");
    if (!path.isEmpty()) SavePicture(WithSuffix(path, "png"));
}

void MainWindow::AskExportCsv() {
    const QString path = QFileDialog::getSaveFileName(this, "Экспорт в CSV", SuggestedPath("csv"),
                                                      "Таблица CSV (*.csv)");
    if (!path.isEmpty()) ExportCsv(WithSuffix(path, "csv"));
}

void MainWindow::ShowControls() {
    QMessageBox::information(
        this, "Управление",
        "<table cellspacing=4>"
        "<tr><td><b>Колесо мыши</b></td><td>увеличить или уменьшить у курсора</td></tr>"
        "<tr><td><b>Ctrl + колесо</b></td><td>масштаб только по времени</td></tr>"
        "<tr><td><b>Shift + колесо</b></td><td>масштаб только по значениям</td></tr>"
        "<tr><td><b>Левая кнопка, рамка</b></td><td>увеличить выделенное (узкая рамка — "
        "только по одной оси)</td></tr>"
        "<tr><td><b>Средняя кнопка или Shift + левая</b></td><td>сдвиг графика</td></tr>"
        "<tr><td><b>Двойной щелчок, Home</b></td><td>исходный масштаб</td></tr>"
        "<tr><td><b>Backspace</b></td><td>предыдущий масштаб</td></tr>"
        "<tr><td><b>Стрелки</b></td><td>сдвиг графика</td></tr>"
        "<tr><td><b>+ / −</b></td><td>увеличить / уменьшить</td></tr>"
        "<tr><td><b>1 … 9, 0</b></td><td>показать или скрыть вход 1 … 10</td></tr>"
        "<tr><td><b>Щелчок по легенде</b></td><td>показать или скрыть кривую</td></tr>"
        "<tr><td><b>Esc</b></td><td>отменить рамку или сдвиг</td></tr>"
        "</table>");
}

void MainWindow::ShowAbout() {
    QMessageBox::about(this, "О программе",
                       QString("<b>vielo %1</b><p>Просмотр графиков, записанных при моделировании: "
                               "файл graf.grp в текущем каталоге или указанный в командной строке.")
                           .arg(QApplication::applicationVersion()));
}
