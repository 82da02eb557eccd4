// Runs every test class of the parameter dialogs; fails when any of them fails.
#include <QApplication>

int RunElementParamsTests(int argc, char** argv);
int RunTransferFunctionDialogTests(int argc, char** argv);

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int failed = 0;
    failed += RunElementParamsTests(argc, argv);
    failed += RunTransferFunctionDialogTests(argc, argv);
    return failed == 0 ? 0 : 1;
}
