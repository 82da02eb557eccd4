#include "vielo/MainWindow.h"

#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <cmath>

#include "vielo/CsvExport.h"
#include "vielo/Export.h"
#include "vielo/InputPanel.h"
#include "vielo/PlotArea.h"

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), plots_(new PlotArea(this)), inputs_(new InputPanel(this)),
      fileInfo_(new QLabel(this)), cursorInfo_(new QLabel(this)) {
    setCentralWidget(plots_);
    auto* dock = new QDockWidget("Входы", this);
    dock->setObjectName("inputs");
    dock->setWidget(inputs_);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    resizeDocks({dock}, {230}, Qt::Horizontal);

    statusBar()->addWidget(cursorInfo_, 1);
    statusBar()->addPermanentWidget(fileInfo_);
    setAcceptDrops(true);
    CreateActions();
    dock->toggleViewAction()->setText("Список входов");
    findChild<QMenu*>("view")->addAction(dock->toggleViewAction());

    connect(inputs_, &InputPanel::toggled, plots_, &PlotArea::SetCurveVisible);
    connect(plots_, &PlotArea::curveVisibilityChanged, this, [this](int input, bool visible) {
        inputs_->SetChecked(input, visible);
        if (input < static_cast<int>(curveActions_.size()))
            curveActions_[input]->setChecked(visible);
    });
    connect(plots_, &PlotArea::cursorMoved, this, &MainWindow::ShowCursor);
    connect(plots_, &PlotArea::viewChanged, this, &MainWindow::UpdateViewActions);

    QSize size(1100, 720);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
    setWindowTitle("vielo");
    UpdateViewActions();
}

bool MainWindow::Open(const QString& path) { return OpenFiles({path}); }

bool MainWindow::OpenFiles(const QStringList& paths) {
    if (paths.isEmpty()) return false;
    const QString& path = paths.front();
    path_ = path;
    paths_ = paths;
    const QFileInfo info(path);
    setWindowTitle("vielo — " + info.fileName() + (paths.size() > 1 ? QString(" (+%1)").arg(paths.size() - 1) : QString()));
    std::vector<std::string> files;
    for (const QString& p : paths) files.push_back(QFile::encodeName(p).toStdString());
    GrpReadResult read = ReadGrpFiles(files);
    std::shared_ptr<const GrpData> data;
    std::string problem;
    if (read.Ok()) problem = ShownInputsProblem(read.Data, info.fileName().toStdString());
    if (read.Ok() && problem.empty()) data = std::make_shared<const GrpData>(std::move(read.Data));
    plots_->SetData(data);
    inputs_->SetData(data);
    for (int i = 0; data && i < data->InputCount(); ++i)
        inputs_->SetChecked(i, plots_->CurveVisible(i));
    CreateCurveActions();
    UpdateFileInfo();
    UpdateViewActions();
    if (!read.Ok())
        ShowError(QString::fromStdString(read.Message));
    else if (!problem.empty())
        ShowError(QString::fromStdString(problem));
    else if (!read.Warning.empty())
        ShowWarning(QString::fromStdString(read.Warning));
    return read.Ok() && problem.empty();
}

void MainWindow::ShowError(const QString& text) {
    if (errorSink_)
        errorSink_(text);
    else
        QMessageBox::critical(this, "Ошибка", text);
}

void MainWindow::ShowWarning(const QString& text) {
    if (errorSink_)
        errorSink_(text);
    else
        QMessageBox::warning(this, "vielo", text);
}

void MainWindow::UpdateFileInfo() {
    const auto& data = plots_->Data();
    if (!data) {
        fileInfo_->setText("Нет данных");
        return;
    }
    const GrpHeader& h = data->Header;
    QString text =
        QString("Входов: %1   Отсчётов: %2").arg(data->InputCount()).arg(data->SampleCount());
    // A run stopped early keeps fewer samples than it planned.
    const qint64 planned = static_cast<qint64>(h.StepCount) + 1;
    if (h.StepCount >= 0 && static_cast<qint64>(data->SampleCount()) < planned)
        text += QString(" из %1").arg(planned);
    if (std::isfinite(h.OutputStep) && h.OutputStep > 0)
        text += QString("   Шаг вывода: %1 с").arg(QString::number(h.OutputStep, 'g', 6));
    if (data->IgnoredTailBytes > 0) text += "   Неполный последний отсчёт пропущен";
    fileInfo_->setText(text);
}

void MainWindow::UpdateViewActions() {
    const bool loaded = plots_->Data() != nullptr;
    reload_->setEnabled(!path_.isEmpty());
    savePicture_->setEnabled(loaded);
    exportCsv_->setEnabled(loaded);
    previous_->setEnabled(plots_->HasPreviousView());
}

void MainWindow::ShowCursor(double time, double value) {
    inputs_->ShowValuesAt(time);
    if (!std::isfinite(time)) {
        cursorInfo_->clear();
        return;
    }
    cursorInfo_->setText(QString("t = %1 с    y = %2")
                             .arg(QString::number(time, 'g', 6), QString::number(value, 'g', 6)));
}

QString MainWindow::SuggestedPath(const QString& suffix) const {
    const QFileInfo info(path_.isEmpty() ? QString("graf.grp") : path_);
    return info.absoluteDir().filePath(info.completeBaseName() + "." + suffix);
}

bool MainWindow::SavePicture(const QString& path) {
    const QString error = SavePictureFile(plots_->Render(), path);
    if (!error.isEmpty()) {
        ShowError(error);
        return false;
    }
    statusBar()->showMessage("Рисунок сохранён: " + QFileInfo(path).fileName(), 5000);
    return true;
}

bool MainWindow::ExportCsv(const QString& path) {
    const auto& data = plots_->Data();
    if (!data) return false;
    const std::string error = WriteCsvFile(*data, path.toStdString());
    if (!error.empty()) {
        ShowError(QString::fromStdString(error));
        return false;
    }
    statusBar()->showMessage("Таблица сохранена: " + QFileInfo(path).fileName(), 5000);
    return true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const auto urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const auto urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile()) Open(urls.front().toLocalFile());
}
