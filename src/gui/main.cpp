// quentor: the schematic editor.
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include <QApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "gui/Application.h"
#include "gui/MainWindow.h"
#include "gui/QtMessages.h"
#include "gui/SheetExport.h"

namespace {

// The hidden option --screenshot FILE.png [SCHEMATIC.dvn [fit]]: opens the
// schematic, renders the window into the image and exits; "fit" zooms the
// drawing to the window first.
int Screenshot(TMainWindow& window, const char* image, const char* schematic, bool fit) {
    window.Editor().OfferRestore = false;
    window.RememberRecent = false;
    if (schematic) window.Editor().OpenFile(schematic);
    window.show();
    QApplication::processEvents();
    if (fit) {
        window.ZoomFit();
        QApplication::processEvents();
    }
    if (!window.grab().save(QString::fromLocal8Bit(image))) {
        std::fprintf(stderr, "quentor: cannot write %s\n", image);
        return 1;
    }
    return 0;
}

// --export FILE.svg|pdf|png SCHEMATIC.dvn: writes the drawing without a window.
int Export(TMainWindow& window, const char* output, const char* schematic) {
    // The drawing as saved, without questions, and no trace in the recent files.
    window.Editor().OfferRestore = false;
    window.RememberRecent = false;
    if (!window.Editor().OpenFile(schematic)) return 2;
    QString error;
    if (!ExportSheet(window.Editor(), QString::fromLocal8Bit(output), false, &error)) {
        std::fprintf(stderr, "quentor: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    QApplication::setApplicationName("QUENTOR");
    // The interface speaks Russian: so do Qt's own dialogs, where their
    // translation is installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    // The result files are written with printf: "." whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");

    TMainWindow window;
    QtMessages messages(&window);
    SetMessages(&messages);
    if (std::strcmp(argc >= 2 ? argv[1] : "", "--export") == 0) {
        if (argc != 4) {
            std::fprintf(stderr,
                         "usage: quentor --export FILE.svg|FILE.pdf|FILE.png SCHEMATIC.dvn\n");
            return 2;
        }
        const int status = Export(window, argv[2], argv[3]);
        SetMessages(nullptr);
        return status;
    }
    if (argc >= 3 && std::strcmp(argv[1], "--screenshot") == 0) {
        const int status = Screenshot(window, argv[2], argc >= 4 ? argv[3] : nullptr,
                                      argc >= 5 && std::strcmp(argv[4], "fit") == 0);
        window.Editor().Sheet().Modified = false;
        SetMessages(nullptr);
        return status;
    }
    // A schematic named on the command line is opened at start.
    if (argc == 2 && argv[1][0] != '-') window.Editor().OpenFile(argv[1]);
    window.show();
    const int status = app.exec();
    SetMessages(nullptr);
    return status;
}
