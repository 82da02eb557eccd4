#include "app/Editor.h"

#include "app/SheetLabels.h"

#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"
#include "model/TInfoConnector.h"

namespace {

const char* const PlaceStep = "Размещение";

} // namespace

bool TEditor::CaptureAlive() const {
    // A press in pin mode may free the very pin or element it went to.
    switch (capture_) {
    case TCapture::Element: return sheet_.Elements.Contains(capturedElement_);
    case TCapture::Connector: return sheet_.ConnectorList.Contains(capturedConnector_);
    case TCapture::SignalPin:
        return sheet_.AllInputs.Contains(dynamic_cast<TInfoInput*>(capturedPin_)) ||
               sheet_.AllOutputs.Contains(dynamic_cast<TInfoOutput*>(capturedPin_));
    case TCapture::Line: return sheet_.Lines.Contains(capturedLine_);
    case TCapture::Sheet: return true;
    case TCapture::None: return false;
    }
    return false;
}

void TEditor::Release() {
    capture_ = TCapture::None;
    placing_ = false;
    capturedElement_ = nullptr;
    capturedConnector_ = nullptr;
    capturedPin_ = nullptr;
    capturedLine_ = nullptr;
}

void TEditor::AbortDrag() {
    Release();
    rubberBand_ = false;
    sheet_.Editor.PinMode = false;
    sheet_.Editor.Captured = nullptr;
    sheet_.Editor.RubberLink.Reset();
    for (TConnector* c : sheet_.ConnectorList) c->FDragging = false;
}

void TEditor::MouseDown(TMouseButton button, bool shift, TPoint p) {
    mouse_ = p;
    if (!CanEdit()) return;
    if (placing_ && CaptureAlive()) {
        // The click that puts a palette element down goes to the element.
        placing_ = false;
        capturedElement_->MouseDown(button, shift, p.x - capturedElement_->Left,
                                    p.y - capturedElement_->Top);
        if (button != TMouseButton::Left) {
            Release();
            Commit(PlaceStep);
        }
        Changed();
        return;
    }
    if (capture_ != TCapture::None) return;
    const TSheetHit hit = HitTest(sheet_, p);
    BeginGesture(hit, button);
    switch (hit.Kind) {
    case TSheetHit::TKind::SignalPin: {
        const bool pinMode = sheet_.Editor.PinMode;
        capture_ = TCapture::SignalPin;
        capturedPin_ = hit.SignalPin;
        hit.SignalPin->MouseDown(button, p);
        if (pinMode) Release();
        break;
    }
    case TSheetHit::TKind::Connector:
        capture_ = TCapture::Connector;
        capturedConnector_ = hit.Connector;
        hit.Connector->MouseDown(button, shift, p);
        break;
    case TSheetHit::TKind::Element:
        capture_ = TCapture::Element;
        capturedElement_ = hit.Element;
        hit.Element->MouseDown(button, shift, p.x - hit.Element->Left, p.y - hit.Element->Top);
        break;
    case TSheetHit::TKind::Line:
        capture_ = TCapture::Line;
        capturedLine_ = hit.Line;
        hit.Line->MouseDown(button, shift, p);
        break;
    case TSheetHit::TKind::Sheet:
        capture_ = TCapture::Sheet;
        if (sheet_.Editor.PinMode) sheet_.Editor.PinMode = false;
        if (button == TMouseButton::Left && !shift) {
            sheet_.ClearSelection();
            rubberBand_ = true;
            bandStart_ = p;
            bandCorner_ = p + TPoint{1, 1};
        }
        break;
    }
    // Only the left button drags; a right press may have opened a modal
    // dialog that took its release.
    if (button != TMouseButton::Left || (capture_ != TCapture::None && !CaptureAlive())) Release();
    if (capture_ == TCapture::None) Commit(gesture_);
    Changed();
}

void TEditor::MouseMove(TPoint p) {
    mouse_ = p;
    if (capture_ == TCapture::None) return;
    if (!CaptureAlive()) {
        Release();
        Commit(gesture_);
        return;
    }
    switch (capture_) {
    case TCapture::Element: {
        const TPoint q = SnappedDrag(p);
        capturedElement_->MouseMove(q.x - capturedElement_->Left, q.y - capturedElement_->Top);
        break;
    }
    case TCapture::Connector: capturedConnector_->MouseMove(p); break;
    case TCapture::SignalPin: capturedPin_->MouseMove(p); break;
    case TCapture::Line: capturedLine_->MouseMove(p); break;
    case TCapture::Sheet:
        if (rubberBand_) bandCorner_ = p;
        break;
    case TCapture::None: break;
    }
    Changed();
}

void TEditor::MouseUp(TMouseButton button, bool shift, TPoint p) {
    mouse_ = p;
    if (capture_ == TCapture::None || placing_ || button != TMouseButton::Left) return;
    const TCapture target = capture_;
    const bool alive = CaptureAlive();
    TBaseElement* element = capturedElement_;
    TConnector* connector = capturedConnector_;
    TInfoConnector* pin = capturedPin_;
    TElectricLine* line = capturedLine_;
    Release();
    if (!alive) {
        Commit(gesture_);
        return;
    }
    switch (target) {
    case TCapture::Element: element->MouseUp(button, shift, p.x - element->Left, p.y - element->Top); break;
    case TCapture::Connector: connector->MouseUp(button, shift, p); break;
    case TCapture::SignalPin: pin->MouseUp(button, p); break;
    case TCapture::Line: line->MouseUp(button, shift, p); break;
    case TCapture::Sheet:
        if (rubberBand_ && button == TMouseButton::Left) {
            rubberBand_ = false;
            SelectByRectangle({bandStart_.x, bandStart_.y, bandCorner_.x, bandCorner_.y});
        }
        break;
    case TCapture::None: break;
    }
    Commit(gesture_);
    Changed();
}

int TEditor::Snap(int v) const {
    if (!SnapToGrid) return v;
    // Rounds half away from zero on both sides of the origin.
    const int half = GridStep / 2;
    return v >= 0 ? (v + half) / GridStep * GridStep : -((-v + half) / GridStep * GridStep);
}

TPoint TEditor::SnappedDrag(TPoint p) const {
    const TEditorState& ed = sheet_.Editor;
    const TBaseElement* e = capturedElement_;
    if (!SnapToGrid || ed.Captured != e) return p;
    // Where the dragged element's corner would go; a mouse that has not moved
    // relative to the press leaves the element where it is.
    const TPoint corner = p - ed.DragOrigin;
    if (corner == TPoint{e->Left, e->Top}) return p;
    return SnapOffset(corner) + ed.DragOrigin;
}

void TEditor::Escape() {
    AbortDrag();
    Commit(gesture_);
    Changed();
}

void TEditor::SelectByRectangle(const TRect& r) {
    sheet_.ClearSelection();
    const auto elements = sheet_.Elements.Items();
    for (TBaseElement* e : elements)
        if (RectsOverlap(e->BoundsRect(), r)) e->SetSelected(true);
    const auto lines = sheet_.Lines.Items();
    for (TElectricLine* s : lines)
        if (RectsOverlap(s->BoundsRect(), r)) s->Select();
    sheet_.NotifySelection();
}

TBaseElement* TEditor::PlaceElement(const std::string& className, TPoint cursor) {
    if (!CanEdit()) return nullptr;
    // An element still following the mouse stays where it is.
    AbortDrag();
    Commit(gesture_);
    TBaseElement* e = nullptr;
    try {
        e = CreateElementByName(sheet_, className);
    } catch (const TElementCreateError& error) {
        Msg().Error("Ошибка создания элемента " + className + ":\n" + error.what(), ApplicationTitle);
        return nullptr;
    }
    sheet_.Modified = true;
    e->Left = Snap(std::max(0, cursor.x - e->Width / 2));
    e->Top = Snap(std::max(0, cursor.y - e->Height / 2));
    Release();
    capture_ = TCapture::Element;
    capturedElement_ = e;
    placing_ = true;
    gesture_ = PlaceStep;
    sheet_.Editor.Captured = e;
    sheet_.Editor.DragOrigin = {e->Width / 2, e->Height / 2};
    e->FMoved = false;
    mouse_ = cursor;
    Changed();
    return e;
}

void TEditor::DeleteSelection() {
    if (!CanEdit()) return;
    Release();
    sheet_.DeleteSelection();
    ForgetMissingDisplays();
    Commit("Удаление");
    Changed();
}

void TEditor::Rotate() {
    if (!CanEdit()) return;
    sheet_.Modified = true;
    const auto selected = sheet_.SelectedElements.Items();
    for (TBaseElement* e : selected) e->SetAngle(e->GetAngle() + 90);
    Commit("Поворот");
    Changed();
}

void TEditor::MirrorLeftRight() {
    if (!CanEdit()) return;
    sheet_.Modified = true;
    const auto selected = sheet_.SelectedElements.Items();
    for (TBaseElement* e : selected) e->SetXFlip(!e->GetXFlip());
    Commit("Отражение слева направо");
    Changed();
}

void TEditor::MirrorTopBottom() {
    if (!CanEdit()) return;
    sheet_.Modified = true;
    const auto selected = sheet_.SelectedElements.Items();
    for (TBaseElement* e : selected) e->SetYFlip(!e->GetYFlip());
    Commit("Отражение сверху вниз");
    Changed();
}

void TEditor::BeginPinMode(bool add) {
    if (!CanEdit()) return;
    sheet_.Modified = true;
    sheet_.Editor.PinMode = true;
    sheet_.Editor.AddPinMode = add;
    Changed();
}

TCursorShape TEditor::CursorShape() const {
    if (sheet_.Editor.PinMode) return TCursorShape::Cross;
    if (!CanEdit()) return TCursorShape::Default;
    // The captured object keeps its cursor while the mouse is held.
    switch (capture_) {
    case TCapture::Element: return TCursorShape::Drag;
    case TCapture::Connector:
    case TCapture::SignalPin: return TCursorShape::UpArrow;
    case TCapture::Line: return TCursorShape::HandPoint;
    case TCapture::Sheet: return TCursorShape::Default;
    case TCapture::None: break;
    }
    switch (HitTest(sheet_, mouse_).Kind) {
    case TSheetHit::TKind::SignalPin:
    case TSheetHit::TKind::Connector: return TCursorShape::UpArrow;
    case TSheetHit::TKind::Element: return TCursorShape::Drag;
    case TSheetHit::TKind::Line: return TCursorShape::HandPoint;
    case TSheetHit::TKind::Sheet: break;
    }
    return TCursorShape::Default;
}

std::optional<TRect> TEditor::RubberBand() const {
    if (!rubberBand_) return std::nullopt;
    return TRect{bandStart_.x, bandStart_.y, bandCorner_.x, bandCorner_.y};
}

std::vector<TPoint> TEditor::RubberWire() const {
    if (capture_ != TCapture::Connector || !CaptureAlive()) return {};
    return capturedConnector_->RubberWire();
}

std::vector<TPoint> TEditor::RubberLink() const {
    const TRubberLink& link = sheet_.Editor.RubberLink;
    if (!link.Active() || !link.Shown) return {};
    return link.Path();
}

std::optional<std::string> TEditor::HintAt(TPoint p) const {
    const TSheetHit hit = HitTest(sheet_, p);
    if (hit.Kind != TSheetHit::TKind::Line) return std::nullopt;
    // The potentials belong to the worker while a run exists.
    if (run_) return "Узел: " + std::to_string(sheet_.Nodes.IndexOf(hit.Line->FNode));
    return hit.Line->HintText();
}

std::optional<std::string> TEditor::TooltipAt(TPoint p) const {
    const TSheetHit hit = HitTest(sheet_, p);
    if (hit.Kind == TSheetHit::TKind::Element || hit.Kind == TSheetHit::TKind::Connector ||
        hit.Kind == TSheetHit::TKind::SignalPin) {
        if (!hit.Element) return std::nullopt;
        const int index = sheet_.Elements.IndexOf(hit.Element);
        // A running model's outputs are read from the snapshot, never from the element.
        return ElementTooltip(*hit.Element, DerivedNames(sheet_)[std::size_t(index)],
                              OutputValue(*hit.Element));
    }
    return HintAt(p);
}

void TEditor::Changed() {
    host_.SheetChanged();
    host_.CommandsChanged();
}
