#include "EditorFixture.h"

#include "model/ClassRegistry.h"
#include "model/TControl.h"

TBaseElement* EditorFixture::Place(const char* cls, int left, int top) {
    TBaseElement* e = CreateElementByName(sheet, cls);
    e->Left = left;
    e->Top = top;
    return e;
}

void EditorFixture::Click(TPoint p, bool shift, TMouseButton button) {
    editor.MouseDown(button, shift, p);
    editor.MouseUp(button, shift, p);
}

void EditorFixture::Drag(TPoint from, TPoint to, bool shift) {
    editor.MouseDown(TMouseButton::Left, shift, from);
    editor.MouseMove({(from.x + to.x) / 2, (from.y + to.y) / 2});
    editor.MouseMove(to);
    editor.MouseUp(TMouseButton::Left, shift, to);
}

TPoint CentreOf(const TControl& control) {
    const TRect r = control.SheetRect();
    return {r.left + control.Width / 2, r.top + control.Height / 2};
}
