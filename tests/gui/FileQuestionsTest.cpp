#include <filesystem>

#include <QAction>
#include <QTest>

#include "GuiTestSupport.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

namespace {

const QString Question = "Сохранить схему в файл ?";

// A window with one element placed: the schematic is modified.
void Prepare(ScriptedWindow& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(PlaceFromPalette(w, "TResistor", {200, 200}));
    QVERIFY(w.Editor().Sheet().Modified);
}

} // namespace

class TestFileQuestions : public QObject {
    Q_OBJECT
private slots:
    void closingAsksAndCancelKeepsTheWindow();
    void yesWithACancelledSaveDialogKeepsTheWindowOpen();
    void yesWithAFileClosesAfterWriting();
    void noClosesWithoutWriting();
    void newAnsweredYesSavesThenClears();

private:
    RecordingMessages messages_;
};

void TestFileQuestions::closingAsksAndCancelKeepsTheWindow() {
    ScriptedWindow w;
    Prepare(w);
    messages_.Clear();
    messages_.Answers = {TAnswer::Cancel};
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(messages_.Entries.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(messages_.Entries[0].Text), Question);
    QCOMPARE(QString::fromStdString(messages_.Entries[0].Caption), QString("АРМ проектировщика САУ"));
    QCOMPARE(w.SaveDialogs, 0);
    w.Editor().Sheet().Modified = false;
}

void TestFileQuestions::yesWithACancelledSaveDialogKeepsTheWindowOpen() {
    ScriptedWindow w;
    Prepare(w);
    messages_.Answers = {TAnswer::Yes};
    w.Action("ExitAction")->trigger();
    QVERIFY(w.isVisible());
    QCOMPARE(w.SaveDialogs, 1);
    QVERIFY(w.Editor().Sheet().Modified);
    // Asked again next time: nothing was saved.
    messages_.Clear();
    messages_.Answers = {TAnswer::Cancel};
    QVERIFY(!w.close());
    QCOMPARE(messages_.Texts().size(), std::size_t(1));
    w.Editor().Sheet().Modified = false;
}

void TestFileQuestions::yesWithAFileClosesAfterWriting() {
    TempDir dir;
    ScriptedWindow w;
    Prepare(w);
    messages_.Answers = {TAnswer::Yes};
    w.SaveNames = {dir.File("closing.dvn")};
    QVERIFY(w.close());
    QVERIFY(!w.isVisible());
    QVERIFY(std::filesystem::exists(dir.File("closing.dvn")));
}

void TestFileQuestions::noClosesWithoutWriting() {
    ScriptedWindow w;
    Prepare(w);
    messages_.Answers = {TAnswer::No};
    QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.SaveDialogs, 0);
}

void TestFileQuestions::newAnsweredYesSavesThenClears() {
    TempDir dir;
    ScriptedWindow w;
    Prepare(w);
    messages_.Clear();
    messages_.Answers = {TAnswer::Yes};
    w.SaveNames = {dir.File("first.dvn")};
    QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(QString::fromStdString(messages_.Entries.at(0).Caption), QString("QUENTOR"));
    QVERIFY(std::filesystem::exists(dir.File("first.dvn")));
    QVERIFY(w.Editor().Sheet().Elements.Empty());
    QVERIFY(!w.Action("SaveAction")->isEnabled());
    QVERIFY(!w.Editor().Sheet().Modified);
}

int RunFileQuestionTests(int argc, char** argv) {
    TestFileQuestions t;
    return QTest::qExec(&t, argc, argv);
}

#include "FileQuestionsTest.moc"
