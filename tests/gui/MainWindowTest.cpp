#include <set>

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QScrollArea>
#include <QSvgRenderer>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QWheelEvent>

#include "GuiTestSupport.h"
#include "app/Palette.h"
#include "gui/SheetExport.h"
#include "gui/SheetWidget.h"
#include "gui/StatusPanels.h"
#include "model/ClassRegistry.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "support/TestElements.h"

namespace {

TPoint PinCentre(const TControl& pin) {
    const TRect r = pin.SheetRect();
    return {r.left + pin.Width / 2, r.top + pin.Height / 2};
}

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
    void undoAndRedoOfADragWithTheKeys();
    void copyAndPasteBetweenTwoWindowsThroughTheClipboard();
    void exportedFilesParseAndAreCroppedToTheDrawing();
    void zoomKeepsThePinUnderTheMouse();
    void theGridShowsAndPlacedElementsSnapToIt();
    void recentFilesAndTheAutosaveOfTheWindow();

private:
    RecordingMessages messages_;
};

void TestMainWindow::windowTitleSizeAndMenus() {
    ScriptedWindow w;
    QCOMPARE(w.windowTitle(), QString("QUENTOR[*]"));
    QVERIFY(!w.isWindowModified());
    QCOMPARE(w.size(), QSize(766, 514));
    QCOMPARE(Captions(w.menuBar()->actions()),
             QStringList({"&Файл", "&Редактировать", "&Вид", "&Моделирование", "&Блоки",
                          "&Элементы", "&Посредники", "&Помощь"}));
    QCOMPARE(Captions(MenuNamed(w.menuBar(), "&Помощь")->actions()),
             QStringList({"Справка", "О программе"}));
    // The help page names every command key the menus hold.
    for (const char* key :
         {"Ctrl+Z", "Ctrl+Shift+Z", "Shift+Del", "Ctrl+D", "Ctrl+0", "F9", "Ctrl+P"})
        QVERIFY2(TMainWindow::HelpText().contains(key), key);
    QCOMPARE(Captions(MenuNamed(w.menuBar(), "&Файл")->actions()),
             QStringList({"&Новый", "&Открыть", "Последние файлы", "&Сохранить", "&Сохранить как", "Экспорт листа...",
                          "Экспорт выделенного...", "Печать...", "Свойства", "&Выход"}));
    QCOMPARE(Captions(MenuNamed(w.menuBar(), "&Редактировать")->actions()),
             QStringList({"Отменить", "Повторить", "&Вырезать", "&Копировать", "В&ставить",
                          "Дублировать", "&Добавить вход", "Удалить вход", "Повернуть",
                          "Отразить слева направо", "Отразить серху вниз",
                          "Удалить выделенные блоки", "Обновить экран"}));
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
    QCOMPARE(w.Action("UndoAction")->shortcut(), QKeySequence("Ctrl+Z"));
    QCOMPARE(w.Action("RedoAction")->shortcut(), QKeySequence("Ctrl+Shift+Z"));
    QVERIFY(!w.Action("UndoAction")->isEnabled());
    QVERIFY(!w.Action("RedoAction")->isEnabled());
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
    QCOMPARE(hints, QStringList({"Новый", "Открыть", "Сохранить", "Печатать", "Отменить",
                                 "Повторить", "Удалить", "Добавить вход", "Удалить вход", "Старт",
                                 "Пауза", "Стоп", "Выход"}));
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
    // Over an element: its derived name, class and values.
    TBaseElement* r = PlaceFromPalette(w, "TResistor", {400, 300});
    QVERIFY(r);
    const QPoint body(r->Left + r->Width / 2, r->Top + r->Height / 2);
    QHelpEvent onElement(QEvent::ToolTip, body, w.SheetWidget()->mapToGlobal(body));
    QCoreApplication::sendEvent(w.SheetWidget(), &onElement);
    QTRY_COMPARE(QToolTip::text(), QString("R1 — Резистор\nСопротивление: 1 кОм"));
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

void TestMainWindow::undoAndRedoOfADragWithTheKeys() {
    ScriptedWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    TBaseElement* e = PlaceFromPalette(w, "TResistor", {200, 200});
    QVERIFY(e);
    QCOMPARE(w.Action("UndoAction")->text(), QString("Отменить: Размещение"));
    QVERIFY(w.isWindowModified());
    const int left = e->Left, top = e->Top;
    MoveElementTo(w, e, left + 120, top + 60);
    QCOMPARE(e->Left, left + 120);
    QCOMPARE(w.Action("UndoAction")->text(), QString("Отменить: Перемещение"));
    QVERIFY(!w.Action("RedoAction")->isEnabled());

    w.SheetWidget()->setFocus();
    QTest::keyClick(w.SheetWidget(), Qt::Key_Z, Qt::ControlModifier);
    const Schematic& sheet = w.Editor().Sheet();
    QCOMPARE(sheet.Elements.Count(), 1);
    QCOMPARE(sheet.Elements[0]->Left, left);
    QCOMPARE(sheet.Elements[0]->Top, top);
    QCOMPARE(w.Action("RedoAction")->text(), QString("Повторить: Перемещение"));
    QTest::keyClick(w.SheetWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(sheet.Elements[0]->Left, left + 120);
    QCOMPARE(sheet.Elements[0]->Top, top + 60);
    QTest::keyClick(w.SheetWidget(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w.SheetWidget(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(sheet.Elements.Empty());
    QVERIFY(!w.isWindowModified()); // back where the window started
    QCOMPARE(w.Action("UndoAction")->text(), QString("Отменить"));
    QVERIFY(!w.Action("UndoAction")->isEnabled());
}

void TestMainWindow::copyAndPasteBetweenTwoWindowsThroughTheClipboard() {
    ScriptedWindow from, to;
    from.show();
    to.show();
    QVERIFY(QTest::qWaitForWindowExposed(&from) && QTest::qWaitForWindowExposed(&to));
    QVERIFY(!from.Action("CopyAction")->isEnabled());
    TBaseElement* a = PlaceFromPalette(from, "TResistor", {200, 200});
    TBaseElement* b = PlaceFromPalette(from, "TCapacitor", {200, 320});
    QVERIFY(a && b);
    Drag(from, PinCentre(*a->FConnectors[1]), PinCentre(*b->FConnectors[1]));
    QCOMPARE(from.Action("UndoAction")->text(), QString("Отменить: Проводник"));
    const int wires = from.Editor().Sheet().Lines.Count();
    QVERIFY(wires > 0);
    Drag(from, {100, 100}, {400, 500}); // a band over both
    QCOMPARE(from.Editor().Sheet().SelectedElements.Count(), 2);
    QVERIFY(from.Action("CopyAction")->isEnabled());
    // The keys go to the active window's shortcuts.
    const auto activate = [](ScriptedWindow& w) {
        w.activateWindow();
        w.SheetWidget()->setFocus();
        return QTest::qWaitForWindowActive(&w);
    };
    QVERIFY(activate(from));
    QTest::keyClick(from.SheetWidget(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data && data->hasFormat("application/x-quentor-schematic"));
    QVERIFY(data->text().startsWith("Dravon Ver 1.0"));

    QVERIFY(activate(to));
    // With the mouse off the sheet the copy lands beside where it was.
    QCursor::setPos(to.mapToGlobal(QPoint(-40, -40)));
    QTest::keyClick(to.SheetWidget(), Qt::Key_Insert, Qt::ShiftModifier);
    const Schematic& pasted = to.Editor().Sheet();
    QCOMPARE(pasted.Elements.Count(), 2);
    QCOMPARE(pasted.Lines.Count(), wires);
    QCOMPARE(pasted.SelectedElements.Count(), 2);
    QCOMPARE(pasted.Elements[0]->Left, a->Left + 20);
    QVERIFY(pasted.Elements[0]->FConnectors[1]->IsConnected());
    QCOMPARE(pasted.Elements[0]->FConnectors[1]->GetNodeID(),
             pasted.Elements[1]->FConnectors[1]->GetNodeID());
    QCOMPARE(to.Action("UndoAction")->text(), QString("Отменить: Вставка"));

    // Cut with Shift+Del takes the selection away in one step.
    QVERIFY(activate(from));
    QTest::keyClick(from.SheetWidget(), Qt::Key_Delete, Qt::ShiftModifier);
    QVERIFY(from.Editor().Sheet().Elements.Empty());
    QVERIFY(from.Editor().Sheet().Lines.Empty());
    QCOMPARE(from.Action("UndoAction")->text(), QString("Отменить: Вырезание"));
    QVERIFY(activate(to));
    QTest::keyClick(to.SheetWidget(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(pasted.Elements.Count(), 4);
    // With the mouse over the sheet the copy's top left corner lands at the
    // mouse, on the grid: the capacitor stands below the resistor as before.
    const TPoint mouse{613, 407};
    QCursor::setPos(to.SheetWidget()->mapToGlobal(QPoint(mouse.x, mouse.y)));
    const int linesBefore = pasted.Lines.Count();
    QTest::keyClick(to.SheetWidget(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(pasted.Elements.Count(), 6);
    const TBaseElement *r = pasted.Elements[4], *c = pasted.Elements[5];
    int left = std::min(r->Left, c->Left), top = std::min(r->Top, c->Top);
    for (int i = linesBefore; i < pasted.Lines.Count(); ++i) {
        const TElectricLine* s = pasted.Lines[i];
        const int length = s->FVertical ? s->Height : s->Width;
        left = std::min({left, s->Left, s->FVertical ? s->Left : s->Left + length});
        top = std::min({top, s->Top, s->FVertical ? s->Top + length : s->Top});
    }
    QVERIFY2(std::abs(left - mouse.x) <= TEditor::GridStep / 2 &&
                 std::abs(top - mouse.y) <= TEditor::GridStep / 2,
             qPrintable(QString("corner %1,%2").arg(left).arg(top)));
    QCOMPARE(c->Left - r->Left, pasted.Elements[1]->Left - pasted.Elements[0]->Left);
    QCOMPARE(c->Top - r->Top, pasted.Elements[1]->Top - pasted.Elements[0]->Top);
    from.Editor().Sheet().Modified = false;
    to.Editor().Sheet().Modified = false;
}

void TestMainWindow::exportedFilesParseAndAreCroppedToTheDrawing() {
    TempDir dir;
    ScriptedWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(!w.Action("ExportAction")->isEnabled());
    TBaseElement* r = PlaceFromPalette(w, "TResistor", {300, 200});
    TBaseElement* c = PlaceFromPalette(w, "TCapacitor", {500, 400});
    QVERIFY(r && c);
    Drag(w, PinCentre(*r->FConnectors[1]), PinCentre(*c->FConnectors[0]));
    Click(w, {900, 900}); // nothing selected: the whole drawing
    const QString svg = QString::fromStdString(dir.File("s.svg")),
                  pdf = QString::fromStdString(dir.File("s.pdf")),
                  png = QString::fromStdString(dir.File("s.png")),
                  part = QString::fromStdString(dir.File("r.png"));
    w.ExportNames = {svg, pdf, png};
    for (int i = 0; i < 3; ++i)
        w.Action("ExportAction")->trigger();

    // The drawing spans both elements and their labels, 20 pixels of margin round.
    const QRect elements = QRect(r->Left, r->Top, r->Width, r->Height)
                               .united(QRect(c->Left, c->Top, c->Width, c->Height));
    QImage image(png);
    QVERIFY(!image.isNull());
    QVERIFY(image.width() >= elements.width() + 40 && image.width() <= elements.width() + 40 + 160);
    QVERIFY(image.height() >= elements.height() + 40 &&
            image.height() <= elements.height() + 40 + 60);
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100) ++dark;
    QVERIFY(dark > 100);

    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBox().size(), image.size());

    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                 bytes.count("/Type /Page "),
             1);

    // The selection alone: the resistor's box and label only.
    Click(w, {r->Left + r->Width / 2, r->Top + r->Height / 2});
    w.ExportNames = {part};
    w.Action("ExportSelectionAction")->trigger();
    const QImage selected(part);
    QVERIFY(!selected.isNull());
    QVERIFY(selected.width() < image.width() && selected.height() < image.height());
    QVERIFY(selected.width() >= r->Width + 40);
    QVERIFY(messages_.Entries.empty());

    // Printing fits the drawing onto one page, here of a PDF printer.
    QVERIFY(w.Action("PrintAction")->isEnabled());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.File("print.pdf")));
    QVERIFY(PrintSheet(w.Editor(), printer));
    QFile printed(QString::fromStdString(dir.File("print.pdf")));
    QVERIFY(printed.open(QIODevice::ReadOnly));
    const QByteArray page = printed.readAll();
    QVERIFY(page.startsWith("%PDF-"));
    QCOMPARE(page.count("/Type /Page\n") + page.count("/Type /Page\r") + page.count("/Type /Page "),
             1);
    w.Editor().Sheet().Modified = false;
}

void TestMainWindow::zoomKeepsThePinUnderTheMouse() {
    ScriptedWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    TBaseElement* r = PlaceFromPalette(w, "TResistor", {300, 200});
    QVERIFY(r);
    const TPoint pin = PinCentre(*r->FConnectors[1]);
    QWidget* viewport = w.ScrollArea()->viewport();
    const QPoint under = w.SheetWidget()->mapTo(viewport, QPoint(pin.x, pin.y));
    const auto wheel = [&w, viewport](QPoint at, int delta) {
        const QPoint local = w.SheetWidget()->mapFrom(viewport, at);
        QWheelEvent event(local, w.SheetWidget()->mapToGlobal(local), {}, QPoint(0, delta),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(w.SheetWidget(), &event);
    };
    for (int step = 0; step < 3; ++step)
        wheel(under, 120);
    QCOMPARE(w.SheetWidget()->Zoom().Scale(), 2.0);
    QCOMPARE(w.SheetWidget()->width(), 20000);
    // The pin's centre is still under the mouse, as the editor sees it.
    const QPoint local = w.SheetWidget()->mapFrom(viewport, under);
    const TPoint seen = w.SheetWidget()->Zoom().ToSheet(local.x(), local.y());
    QVERIFY2(std::abs(seen.x - pin.x) <= 1 && std::abs(seen.y - pin.y) <= 1,
             qPrintable(QString("%1,%2").arg(seen.x).arg(seen.y)));
    QCOMPARE(HitTest(w.Editor().Sheet(), seen).Kind, TSheetHit::TKind::Connector);
    // A wire drawn at this scale starts at the pin: presses go through the scale.
    QTest::mousePress(w.SheetWidget(), Qt::LeftButton, {}, local);
    QTest::mouseMove(w.SheetWidget(), local + QPoint(120, 0));
    QTest::mouseRelease(w.SheetWidget(), Qt::LeftButton, {}, local + QPoint(120, 0));
    QVERIFY(r->FConnectors[1]->IsConnected());
    QCOMPARE(w.Editor().Sheet().Lines.First()->EndPoint().x -
                 w.Editor().Sheet().Lines.First()->StartPoint().x,
             60);

    for (int step = 0; step < 3; ++step)
        wheel(under, -120);
    QCOMPARE(w.SheetWidget()->Zoom().Scale(), 1.0);
    QCOMPARE(w.SheetWidget()->mapTo(viewport, QPoint(pin.x, pin.y)), under);
    w.Action("ZoomInAction")->trigger();
    QCOMPARE(w.SheetWidget()->Zoom().Scale(), 1.25);
    w.Action("ZoomActualAction")->trigger();
    QCOMPARE(w.SheetWidget()->Zoom().Scale(), 1.0);
    w.Action("ZoomFitAction")->trigger();
    QVERIFY(w.SheetWidget()->Zoom().Scale() > 1.0);
    w.Editor().Sheet().Modified = false;
}

void TestMainWindow::theGridShowsAndPlacedElementsSnapToIt() {
    ScriptedWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.Action("GridAction")->isChecked());
    QVERIFY(w.Action("SnapAction")->isChecked());
    // Dots every 10 sheet pixels on the empty sheet, none between them.
    const auto pixel = [&w](int x, int y) {
        return w.SheetWidget()->grab(QRect(0, 0, 100, 100)).toImage().pixelColor(x, y);
    };
    QVERIFY(pixel(50, 50) != QColor(Qt::white));
    QCOMPARE(pixel(55, 55), QColor(Qt::white));
    w.Action("GridAction")->trigger();
    QVERIFY(!w.Editor().ShowGrid);
    QCOMPARE(pixel(50, 50), QColor(Qt::white));

    TBaseElement* r = PlaceFromPalette(w, "TResistor", {303, 207});
    QVERIFY(r);
    QCOMPARE(r->Left % TEditor::GridStep, 0);
    QCOMPARE(r->Top % TEditor::GridStep, 0);
    w.Action("SnapAction")->trigger();
    QVERIFY(!w.Editor().SnapToGrid);
    TBaseElement* c = PlaceFromPalette(w, "TResistor", {303, 407});
    QCOMPARE(c->Left, 303 - c->Width / 2);
    w.Editor().Sheet().Modified = false;
}

void TestMainWindow::recentFilesAndTheAutosaveOfTheWindow() {
    TempDir dir;
    const QString a = QString::fromStdString(dir.File("a.dvn")),
                  b = QString::fromStdString(dir.File("b.dvn"));
    {
        ScriptedWindow w;
        QVERIFY(w.RecentFiles().isEmpty());
        QVERIFY(!w.RecentMenu()->isEnabled());
        PlaceFromPalette(w, "TResistor", {200, 200});
        w.SaveNames = {a.toStdString(), b.toStdString()};
        w.Action("SaveAsAction")->trigger();
        w.Action("SaveAsAction")->trigger();
        QCOMPARE(w.RecentFiles(), QStringList({b, a}));
        QCOMPARE(Captions(w.RecentMenu()->actions()), QStringList({"&1 b.dvn", "&2 a.dvn"}));

        // The timer writes the side file of a modified schematic.
        QCOMPARE(w.AutosaveTimer().interval(), TMainWindow::AutosaveMinutes * 60 * 1000);
        QVERIFY(w.AutosaveTimer().isActive());
        PlaceFromPalette(w, "TCapacitor", {200, 400});
        QVERIFY(w.isWindowModified());
        w.AutosaveTimer().setInterval(10); // minutes pass at once
        QTRY_VERIFY(QFile::exists(b + ".autosave"));
        w.Action("SaveAction")->trigger();
        QVERIFY(!QFile::exists(b + ".autosave"));
    }
    // Another window finds the list in the settings; choosing an entry opens it.
    ScriptedWindow w;
    QCOMPARE(w.RecentFiles(), QStringList({b, a}));
    w.RecentMenu()->actions()[1]->trigger();
    QCOMPARE(w.Editor().FileName(), a.toStdString());
    QCOMPARE(w.Editor().Sheet().Elements.Count(), 1);
    QCOMPARE(w.RecentFiles(), QStringList({a, b}));
    // A file that is gone leaves the list when chosen.
    QFile::remove(b);
    w.RecentMenu()->actions()[1]->trigger();
    QCOMPARE(w.RecentFiles(), QStringList({a}));
    QVERIFY(!messages_.Entries.empty());
    QCOMPARE(messages_.Entries.back().Text, "Не удалось прочитать файл " + b.toStdString());
    messages_.Entries.clear();
    w.Editor().Sheet().Modified = false;
}

int RunMainWindowTests(int argc, char** argv) {
    TestMainWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "MainWindowTest.moc"
