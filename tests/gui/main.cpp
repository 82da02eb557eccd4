// Runs every test class of the editor window and its dialogs; fails when any of them fails.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

int RunMainWindowTests(int argc, char** argv);
int RunBuildAndRunTests(int argc, char** argv);
int RunFileQuestionTests(int argc, char** argv);
int RunSimParamsTests(int argc, char** argv);
int RunElementParamsTests(int argc, char** argv);
int RunTransferFunctionDialogTests(int argc, char** argv);
int RunProblemsDialogTests(int argc, char** argv);

int main(int argc, char** argv) {
    // The user's own settings and state stay untouched.
    QTemporaryDir home;
    qputenv("XDG_STATE_HOME", (home.path() + "/state").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path() + "/config");
    QApplication app(argc, argv);
    int failed = 0;
    failed += RunMainWindowTests(argc, argv);
    failed += RunBuildAndRunTests(argc, argv);
    failed += RunFileQuestionTests(argc, argv);
    failed += RunSimParamsTests(argc, argv);
    failed += RunElementParamsTests(argc, argv);
    failed += RunTransferFunctionDialogTests(argc, argv);
    failed += RunProblemsDialogTests(argc, argv);
    return failed == 0 ? 0 : 1;
}
