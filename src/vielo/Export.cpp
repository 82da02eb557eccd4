#include "vielo/Export.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "vielo/CommandLine.h"
#include "vielo/CsvExport.h"
#include "vielo/GrpFile.h"
#include "vielo/PlotArea.h"

namespace {

void PrintError(const std::string& text) {
    std::fprintf(stderr, "error: %s\n", text.c_str());
}

// Without a window, Qt's notes about the missing screen only hide the one
// line that matters; its critical messages still get through.
void QuietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

int ExportPicture(int argc, char** argv, const VieloOptions& options,
                  std::shared_ptr<const GrpData> data) {
    // Drawing needs no screen; without one, Qt's display platform would abort.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietQtNotes);
    QApplication app(argc, argv);
    PlotArea plots;
    plots.SetStacked(options.Stacked);
    plots.SetData(std::move(data));
    plots.setAttribute(Qt::WA_DontShowOnScreen);
    plots.resize(options.Width, options.Height);
    plots.show();
    QApplication::processEvents();
    const QImage image = plots.Render(QSize(options.Width, options.Height));
    const QString error = SavePictureFile(image, QString::fromStdString(options.PicturePath));
    if (!error.isEmpty()) {
        PrintError(error.toStdString());
        return 1;
    }
    return 0;
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

QString SavePictureFile(const QImage& image, const QString& path) {
    const QFileInfo info(path);
    QByteArray format = info.suffix().toLower().toLatin1();
    if (format.isEmpty()) format = "png";
    if (!QImageWriter::supportedImageFormats().contains(format))
        return QString("Формат рисунка «%1» не поддерживается").arg(info.suffix());
    QImageWriter writer(path, format);
    if (!writer.write(image)) return "Не удаётся записать файл " + info.fileName();
    return {};
}

int RunHeadless(int argc, char** argv, const VieloOptions& options) {
    GrpReadResult read = ReadGrpFiles(options.GrpPaths);
    if (!read.Ok()) {
        PrintError(read.Message);
        return 1;
    }
    if (!read.Warning.empty()) std::fprintf(stderr, "warning: %s\n", read.Warning.c_str());
    auto data = std::make_shared<const GrpData>(std::move(read.Data));
    if (!options.CsvPath.empty()) {
        const std::string error = WriteCsvFile(*data, options.CsvPath);
        if (!error.empty()) {
            PrintError(error);
            return 1;
        }
    }
    if (options.PicturePath.empty()) return 0;
    if (const std::string problem = ShownInputsProblem(*data, FileNameOf(options.GrpPath));
        !problem.empty()) {
        PrintError(problem);
        return 1;
    }
    return ExportPicture(argc, argv, options, std::move(data));
}
