#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/SchematicFile.h"
#include "gui/QtMessages.h"
#include "model/Schematic.h"

namespace {

// Closes every message box that opens and keeps what it showed.
struct BoxWatcher {
    int Boxes = 0;
    QString Text;
    QString Details;
    QTimer Timer;

    BoxWatcher() {
        QObject::connect(&Timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    ++Boxes;
                    Text = box->text();
                    Details = box->detailedText();
                    box->done(QMessageBox::Ok);
                }
        });
        Timer.start(10);
    }
};

} // namespace

class TestProblemsDialog : public QObject {
    Q_OBJECT
private slots:
    void aThousandBadLinesGiveOneDialog();
};

void TestProblemsDialog::aThousandBadLinesGiveOneDialog() {
    std::vector<std::string> lines{"Dravon Ver 1.0", "Lines:", "EOL",
                                   "Connections:",   "EOC",    "Resistor:5,5,0,0,0"};
    for (int k = 0; k < 1000; ++k)
        lines.push_back(" Q" + std::to_string(k) + "=1");
    for (const char* tail : {"EOE", "", "EOT"})
        lines.push_back(tail);
    QtMessages messages;
    Messages* previous = SetMessages(&messages);
    BoxWatcher watcher;
    Schematic sheet;
    QCOMPARE(LoadSchematicLines(sheet, lines), TLoadResult::Loaded);
    SetMessages(previous);
    QCOMPARE(watcher.Boxes, 1);
    QVERIFY(watcher.Text.startsWith(QStringLiteral("При чтении файла найдено ошибок: 1000.\n")));
    QVERIFY(watcher.Text.contains(QStringLiteral("Компонент Resistor не содержит параметра Q9!")));
    QVERIFY(!watcher.Text.contains(QStringLiteral("параметра Q10!")));
    QCOMPARE(watcher.Details.count('\n'), 1000);
    QVERIFY(
        watcher.Details.contains(QStringLiteral("Компонент Resistor не содержит параметра Q999!")));
}

int RunProblemsDialogTests(int argc, char** argv) {
    TestProblemsDialog t;
    return QTest::qExec(&t, argc, argv);
}

#include "ProblemsDialogTest.moc"
