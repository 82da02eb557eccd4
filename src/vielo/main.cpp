// vielo: shows the signals a simulation run recorded in graf.grp.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "vielo/CommandLine.h"
#include "vielo/Export.h"
#include "vielo/MainWindow.h"

int main(int argc, char** argv) {
    VieloOptions options;
    const std::string error =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!error.empty()) {
        std::fprintf(stderr, "vielo: %s\nTry 'vielo --help'.\n", error.c_str());
        return 2;
    }
    if (options.Help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (options.Version) {
        std::printf("vielo %s\n", QUENTOR_VERSION);
        return 0;
    }
    if (options.Headless()) return RunHeadless(argc, argv, options);

    QApplication app(argc, argv);
    QApplication::setApplicationName("vielo");
    QApplication::setApplicationVersion(QUENTOR_VERSION);
    MainWindow window;
    window.SetStacked(options.Stacked);
    window.show();
    // Opened once the window is up, so that an error box has a parent to sit on.
    QStringList paths;
    for (const std::string& p : options.GrpPaths) paths.append(QString::fromLocal8Bit(p.c_str()));
    QTimer::singleShot(0, &window, [&window, paths] { window.OpenFiles(paths); });
    return app.exec();
}
