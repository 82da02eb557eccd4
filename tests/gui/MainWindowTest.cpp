#include <set>

#include <QAction>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "GuiTestSupport.h"
#include "app/Palette.h"
#include "gui/SheetWidget.h"
#include "gui/StatusPanels.h"
#include "model/ClassRegistry.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"
#include "support/RecordingMessages.h"
#include "support/TestElements.h"

namespace {

QStringList Captions(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions)
        if (!a->isSeparator()) out << a->text();
    return out;
}

QMenu* MenuNamed(QMenuBar* bar, const QString& caption) {
    for (QAction* a : bar->actions())
        if (a->text() == caption) return a->menu();
    return nullptr;
}

// Every palette item in menu order, as the menus hold them.
void CollectPalette(QMenu* menu, QStringList& out) {
    for (QAction* a : menu->actions()) {
        if (a->menu()) CollectPalette(a->menu(), out);
        else if (a->data().isValid()) out << a->data().toString();
    }
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void windowTitleSizeAndMenus();
    void everyShortcutIsDistinct();
    void paletteMenusFollowThePaletteDescription();
    void toolBarHintsAndStatusPanels();
    void rotateAndMirrorNeedASelection();
    void cursorsFollowWhatLiesUnderTheMouse();
    void wireHintNamesTheNode();
    void rightClickAsksForTheParameterDialog();

private:
    RecordingMessages messages_;
};

void TestMainWindow::windowTitleSizeAndMenus() {
    ScriptedWindow w;
    QCOMPARE(w.windowTitle(), QString("QUENTOR"));
    QCOMPARE(w.size(), QSize(766, 514));
    QCOMPARE(Captions(w.menuBar()->actions()),
             QStringList({"&Файл", "&Редактировать", "&Моделирование", "&Блоки", "&Элементы", "&Посредники",
                          "&Помощь"}));
    QVERIFY(!MenuNamed(w.menuBar(), "&Помощь")->isEnabled());
    QCOMPARE(Captions(MenuNamed(w.menuBar(), "&Файл")->actions()),
             QStringList({"&Новый", "&Открыть", "&Сохранить", "&Сохранить как", "Свойства", "&Выход"}));
    QCOMPARE(Captions(MenuNamed(w.menuBar(), "&Редактировать")->actions()),
             QStringList({"&Вырезать", "&Копировать", "В&ставить", "&Добавить вход", "Удалить вход", "Повернуть",
                          "Отразить слева направо", "Отразить серху вниз", "Удалить выделенные блоки",
                          "Обновить экран"}));
    QCOMPARE(Captions(MenuNamed(w.menuBar(), "&Моделирование")->actions()),
             QStringList({"Старт", "Пауза", "Стоп", "Параметры моделирования"}));
    QVERIFY(!w.Action("SaveAction")->isEnabled());
    QVERIFY(!w.Action("PauseAction")->isEnabled());
    QVERIFY(!w.Action("StopAction")->isEnabled());
    QVERIFY(w.Action("StartAction")->isEnabled());
    QCOMPARE(w.Action("SaveAction")->shortcut(), QKeySequence("Ctrl+S"));
    QCOMPARE(w.Action("RotateAction")->shortcut(), QKeySequence("Ctrl+R"));
    QCOMPARE(w.Action("AddInputAction")->shortcut(), QKeySequence("Ctrl+P"));
    QCOMPARE(w.Action("DeleteInputAction")->shortcut(), QKeySequence("Ctrl+M"));
    QCOMPARE(w.Action("StartAction")->shortcut(), QKeySequence(Qt::Key_F9));
    QCOMPARE(w.Action("RefreshAction")->shortcut(), QKeySequence(Qt::Key_F5));
    QCOMPARE(w.Action("DeleteAction")->shortcut(), QKeySequence(Qt::Key_Delete));
}

void TestMainWindow::everyShortcutIsDistinct() {
    ScriptedWindow w;
    std::set<QString> seen;
    const auto check = [&seen](const QList<QAction*>& actions, const auto& self) -> void {
        for (QAction* a : actions) {
            if (a->menu()) self(a->menu()->actions(), self);
            if (a->shortcut().isEmpty()) continue;
            const QString key = a->shortcut().toString();
            QVERIFY2(seen.insert(key).second, qPrintable("twice: " + key));
        }
    };
    check(w.menuBar()->actions(), check);
    QVERIFY(seen.count("F10") == 1 && seen.count("Ctrl+F2") == 1);
}

void TestMainWindow::paletteMenusFollowThePaletteDescription() {
    ScriptedWindow w;
    QStringList fromMenus;
    for (const char* menu : {"&Блоки", "&Элементы", "&Посредники"}) CollectPalette(MenuNamed(w.menuBar(), menu), fromMenus);
    QStringList expected;
    for (const TPaletteItem& item : PaletteItems()) expected << QString::fromStdString(item.ClassName);
    QCOMPARE(fromMenus, expected);
    QCOMPARE(w.PaletteAction("TResistor")->text(), QString("Резистор"));
    // The generator menu holds its submenu before its items.
    QMenu* blocks = MenuNamed(w.menuBar(), "&Блоки");
    QMenu* generators = nullptr;
    for (QAction* a : blocks->actions())
        if (a->text() == "Генераторы сигналов") generators = a->menu();
    QVERIFY(generators);
    QCOMPARE(generators->actions().first()->text(), QString("Пилообразные импульсы"));
}

void TestMainWindow::toolBarHintsAndStatusPanels() {
    ScriptedWindow w;
    auto* bar = w.findChild<QToolBar*>("Panel1");
    QVERIFY(bar);
    QStringList hints;
    for (QAction* a : bar->actions())
        if (!a->isSeparator()) {
            hints << a->toolTip();
            QVERIFY2(!a->icon().isNull(), qPrintable(a->toolTip()));
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
            QVERIFY(button && button->toolButtonStyle() == Qt::ToolButtonIconOnly);
        }
    QCOMPARE(hints, QStringList({"Новый", "Открыть", "Сохранить", "Печатать", "Удалить", "Добавить вход",
                                 "Удалить вход", "Старт", "Пауза", "Стоп", "Выход"}));
    const TStatusPanels* panels = w.StatusPanels();
    QCOMPARE(panels->Text(0), QString("Длительность моделирования:"));
    QCOMPARE(panels->Text(1), QString("1"));
    QCOMPARE(panels->Text(2), QString("Шаг моделирования:"));
    QCOMPARE(panels->Text(3), QString("1E-5"));
    QCOMPARE(panels->Text(4), QString("Текущее модельное время:"));
    QCOMPARE(panels->Text(6), QString("Шаг вывода графиков:"));
    QCOMPARE(panels->Text(7), QString("0.01"));
    QCOMPARE(panels->Text(8), QString());
}

void TestMainWindow::rotateAndMirrorNeedASelection() {
    ScriptedWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    TBaseElement* r = PlaceFromPalette(w, "TResistor", {200, 150});
    QVERIFY(r);
    // Putting it down selected it.
    QVERIFY(r->FSelected);
    QVERIFY(w.Action("RotateAction")->isEnabled());
    Click(w, {600, 400});
    for (const char* name : {"RotateAction", "MirrorLRAction", "MirrorTBAction"})
        QVERIFY2(!w.Action(name)->isEnabled(), name);
    Click(w, {r->Left + r->Width / 2, r->Top + r->Height / 2});
    for (const char* name : {"RotateAction", "MirrorLRAction", "MirrorTBAction"})
        QVERIFY2(w.Action(name)->isEnabled(), name);
    QTest::keyClick(&w, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(r->FAngle, 90);
    w.Action("MirrorLRAction")->trigger();
    QVERIFY(r->GetXFlip());
    w.Editor().Sheet().Modified = false;
}

void TestMainWindow::cursorsFollowWhatLiesUnderTheMouse() {
    ScriptedWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    TBaseElement* r = PlaceFromPalette(w, "TResistor", {200, 150});
    QVERIFY(r);
    const auto cursorAt = [&w](TPoint p) {
        Move(w, p);
        return w.SheetWidget()->cursor().shape();
    };
    QCOMPARE(cursorAt(r->FConnectors[0]->GetLink()), Qt::UpArrowCursor);
    QCOMPARE(cursorAt({r->Left + r->Width / 2, r->Top + r->Height / 2}), Qt::DragMoveCursor);
    QCOMPARE(cursorAt({600, 400}), Qt::ArrowCursor);
    w.Action("AddInputAction")->trigger();
    QCOMPARE(cursorAt({600, 400}), Qt::CrossCursor);
    Click(w, {600, 400});
    QCOMPARE(w.SheetWidget()->cursor().shape(), Qt::ArrowCursor);
    w.Editor().Sheet().Modified = false;
}

void TestMainWindow::wireHintNamesTheNode() {
    ScriptedWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    new TElectricLine(w.Editor().Sheet(), 100, 198, false, 200);
    const QPoint at(150, 200);
    QHelpEvent help(QEvent::ToolTip, at, w.SheetWidget()->mapToGlobal(at));
    QCoreApplication::sendEvent(w.SheetWidget(), &help);
    QTRY_COMPARE(QToolTip::text(), QString("Узел: 0"));
    QToolTip::hideText();
    w.Editor().Sheet().Modified = false;
}

void TestMainWindow::rightClickAsksForTheParameterDialog() {
    ScriptedWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // A class with parameters asks; the dialog itself comes from the window.
    TBaseElement* e = w.Editor().PlaceElement("TTestTwoPin", {300, 300});
    Click(w, {300, 300});
    Click(w, {e->Left + 30, e->Top + 8}, Qt::RightButton);
    QCOMPARE(w.ParamDialogs, 1);
    w.Editor().Sheet().Modified = false;
}

int RunMainWindowTests(int argc, char** argv) {
    TestMainWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "MainWindowTest.moc"
