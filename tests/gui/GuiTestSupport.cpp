#include "GuiTestSupport.h"

#include <QAction>
#include <QCursor>
#include <QTest>

#include "gui/SheetWidget.h"
#include "app/SheetHit.h"
#include "model/TBaseElement.h"

std::optional<std::string> ScriptedWindow::ChooseSaveFile(const std::string&) {
    ++SaveDialogs;
    if (SaveNames.empty()) return std::nullopt;
    auto name = SaveNames.front();
    SaveNames.pop_front();
    return name;
}

std::optional<std::string> ScriptedWindow::ChooseOpenFile() {
    if (OpenNames.empty()) return std::nullopt;
    auto name = OpenNames.front();
    OpenNames.pop_front();
    return name;
}

namespace {

QPoint Q(TPoint p) { return {p.x, p.y}; }

} // namespace

void Press(ScriptedWindow& w, TPoint p, Qt::MouseButton button, Qt::KeyboardModifiers keys) {
    QTest::mousePress(w.SheetWidget(), button, keys, Q(p));
}

void Move(ScriptedWindow& w, TPoint p) { QTest::mouseMove(w.SheetWidget(), Q(p)); }

void Release(ScriptedWindow& w, TPoint p, Qt::MouseButton button, Qt::KeyboardModifiers keys) {
    QTest::mouseRelease(w.SheetWidget(), button, keys, Q(p));
}

void Click(ScriptedWindow& w, TPoint p, Qt::MouseButton button, Qt::KeyboardModifiers keys) {
    Press(w, p, button, keys);
    Release(w, p, button, keys);
}

void Drag(ScriptedWindow& w, TPoint from, TPoint to) {
    Press(w, from);
    Move(w, {(from.x + to.x) / 2, (from.y + to.y) / 2});
    Move(w, to);
    Release(w, to);
}

TBaseElement* PlaceFromPalette(ScriptedWindow& w, const std::string& className, TPoint at) {
    QAction* item = w.PaletteAction(className);
    if (!item) return nullptr;
    QCursor::setPos(w.SheetWidget()->mapToGlobal(Q(at)));
    const int before = w.Editor().Sheet().Elements.Count();
    item->trigger();
    if (w.Editor().Sheet().Elements.Count() != before + 1) return nullptr;
    TBaseElement* e = w.Editor().Sheet().Elements.Last();
    Move(w, at);
    Click(w, at);
    return e;
}

void MoveElementTo(ScriptedWindow& w, TBaseElement* e, int left, int top) {
    // Grab the element by its body, where no pin is.
    const Schematic& sheet = w.Editor().Sheet();
    for (int y = e->Top + e->Height / 2; y < e->Top + e->Height; ++y)
        for (int x = e->Left + e->Width / 2; x < e->Left + e->Width; ++x) {
            const TSheetHit hit = HitTest(sheet, {x, y});
            if (hit.Kind != TSheetHit::TKind::Element || hit.Element != e) continue;
            Drag(w, {x, y}, TPoint{x, y} + TPoint{left - e->Left, top - e->Top});
            return;
        }
}
