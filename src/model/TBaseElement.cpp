#include "model/TBaseElement.h"

#include <algorithm>
#include <atomic>

#include "Simulation/CircuitModel.h"
#include "model/FormDescription.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TInfoConnector.h"

TBaseElement::TBaseElement(Schematic& sheet) : sheet_(sheet) {
    auto image = std::make_unique<TImage>(this, "Image");
    image_ = image.get();
    children_.push_back(std::move(image));
    sheet_.Elements.Add(this);
}

TBaseElement::~TBaseElement() {
    if (FSelected) SetSelected(false);
    if (sheet_.Editor.Captured == this) sheet_.Editor.Captured = nullptr;
    FConnectors.clear();
    FInputs.clear();
    FOutputs.clear();
    // Pins detach themselves from wires and links as they die.
    children_.clear();
    ParamValues.clear();
    sheet_.Elements.Remove(this);
}

std::string TBaseElement::Name() const {
    return !className_.empty() && className_[0] == 'T' ? className_.substr(1) : className_;
}

TControl* TBaseElement::FindChild(std::string_view name) const {
    for (const auto& c : children_)
        if (c->Name == name) return c.get();
    return nullptr;
}

namespace {
std::atomic<TNameMissHook> nameMissHook{nullptr};

template <class TPin> TPin* Found(const TBaseElement& e, TControl* child, std::string_view name) {
    auto* pin = dynamic_cast<TPin*>(child);
    if (!pin)
        if (const TNameMissHook hook = nameMissHook.load()) hook(e, name);
    return pin;
}
} // namespace

TNameMissHook SetNameMissHook(TNameMissHook hook) {
    return nameMissHook.exchange(hook);
}

TConnector* TBaseElement::FindConnector(std::string_view name) const {
    return Found<TConnector>(*this, FindChild(name), name);
}

TInfoInput* TBaseElement::FindInput(std::string_view name) const {
    return Found<TInfoInput>(*this, FindChild(name), name);
}

TInfoOutput* TBaseElement::FindOutput(std::string_view name) const {
    return Found<TInfoOutput>(*this, FindChild(name), name);
}

void TBaseElement::RemoveChild(TControl* child) {
    if (!child || child == image_) return;
    std::erase(FConnectors, child);
    std::erase(FInputs, child);
    std::erase(FOutputs, child);
    std::erase_if(children_, [child](const auto& c) { return c.get() == child; });
}

// ---------------------------------------------------------------- forms

void TBaseElement::ApplyForm(const TFormDescription& form) {
    for (const TFormPin& pin : form.Pins) {
        if (TControl* existing = FindChild(pin.Name)) {
            existing->SetPosition(pin.Left, pin.Top);
            continue;
        }
        std::unique_ptr<TControl> created;
        switch (pin.Kind) {
        case TPinKind::Electrical: {
            auto c = std::make_unique<TConnector>(this, pin.Name);
            c->FNet = pin.Net;
            created = std::move(c);
            break;
        }
        case TPinKind::Input:
            created = std::make_unique<TInfoInput>(this, pin.Name);
            break;
        case TPinKind::Output:
            created = std::make_unique<TInfoOutput>(this, pin.Name);
            break;
        }
        created->Left = pin.Left;
        created->Top = pin.Top;
        children_.push_back(std::move(created));
    }
    if (!form.Picture.Empty()) {
        image_->Left = form.ImageLeft;
        image_->Top = form.ImageTop;
        image_->SetPicture(form.Picture);
    }
}

void TBaseElement::Loaded() {
    if (loaded_) return;
    loaded_ = true;
    BuildParamValues();
    ClassifyChildrenAndSize();
    ApplyBlockMargins();
}

void TBaseElement::BuildParamValues() {
    const int nRef = ParamRowCount(RefParamDefs);
    const int nModel = ParamRowCount(ModelParamDefs);
    ParamCount = nRef + nModel;
    ParamValues.clear();
    ParamValues.reserve(std::size_t(ParamCount));
    for (int i = 0; i < nRef; ++i)
        ParamValues.push_back({0, 0, &RefParamDefs[i]});
    for (int i = 0; i < nModel; ++i)
        ParamValues.push_back({0, 0, &ModelParamDefs[i]});
    ResetParams();
}

void TBaseElement::ClassifyChildrenAndSize() {
    int right = 0, bottom = 0;
    FConnectors.clear();
    FInputs.clear();
    FOutputs.clear();
    for (const auto& c : children_) {
        right = std::max(right, c->Left + c->Width);
        bottom = std::max(bottom, c->Top + c->Height);
        if (auto* e = dynamic_cast<TConnector*>(c.get()))
            FConnectors.push_back(e);
        else if (auto* i = dynamic_cast<TInfoInput*>(c.get()))
            FInputs.push_back(i);
        else if (auto* o = dynamic_cast<TInfoOutput*>(c.get()))
            FOutputs.push_back(o);
    }
    Width = right;
    Height = bottom;
}

void TBaseElement::ApplyBlockMargins() {
    const bool hasSignal = !FInputs.empty() || !FOutputs.empty();
    const bool manyBoth = FInputs.size() > 1 && FOutputs.size() > 1;
    if (!hasSignal || !FConnectors.empty() || manyBoth) return;
    Height += 24;
    image_->Top += 12;
    if (FOutputs.empty()) {
        Width += 10;
    } else if (FInputs.empty()) {
        Width += 10;
        image_->Left += 10;
        for (TInfoOutput* o : FOutputs)
            o->Left += 10;
    }
    for (TInfoOutput* o : FOutputs)
        o->Top += 13;
    for (TInfoInput* i : FInputs)
        i->Top += 13;
}

// ---------------------------------------------------------------- slots

void TBaseElement::SetSelected(bool on) {
    FSelected = on;
    if (on) {
        if (!sheet_.SelectedElements.Contains(this)) sheet_.SelectedElements.Add(this);
    } else {
        sheet_.SelectedElements.Remove(this);
    }
    TRotateableMetafile& pic = image_->Picture;
    pic.HighlightWidth = 2;
    pic.HighlightColor = clRed;
    pic.Highlight = on;
    sheet_.Repaint();
    sheet_.NotifySelection();
}

void TBaseElement::MoveBy(int dx, int dy) {
    if (Left + dx > 0)
        Left += dx;
    else
        dx = 0;
    if (Top + dy > 0)
        Top += dy;
    else
        dy = 0;
    for (TConnector* c : FConnectors)
        if (c->IsConnected()) c->FollowElement(dx, dy);
    for (TInfoInput* i : FInputs)
        i->RedrawConnection();
    for (TInfoOutput* o : FOutputs)
        o->RedrawConnections();
    sheet_.Repaint();
}

void TBaseElement::EditParams() {
    if (RefParamDefs && sheet_.Host) sheet_.Host->EditElementParams(*this);
}

bool TBaseElement::CalcModelParams() {
    return true;
}

void TBaseElement::ResetState() {}

void TBaseElement::AddInput() {
    Msg().Information("К этому блоку нельзя добавить информационные входы.", ApplicationTitle);
}

void TBaseElement::DeleteInput(TInfoInput*) {
    Msg().Information("У этого блока нельзя удалять информационные входы.", ApplicationTitle);
}

void TBaseElement::AddOutput() {
    Msg().Information("К этому блоку нельзя добавить информационные выходы.", ApplicationTitle);
}

void TBaseElement::DeleteOutput(TInfoOutput*) {
    Msg().Information("У этого блока нельзя удалять информационные выходы.", ApplicationTitle);
}

const TBranchRecord* TBaseElement::GetCircuitModel() const {
    return nullptr;
}

void TBaseElement::DeclareLiveReads(TLiveReads& reads) const {
    reads.Pins.assign(FConnectors.begin(), FConnectors.end());
    reads.InternalNodes.clear();
    for (int k = 0, n = InternalNodeCount(GetCircuitModel()); k < n; ++k) reads.InternalNodes.push_back(k);
    reads.Inputs.assign(FInputs.begin(), FInputs.end());
}

// ---------------------------------------------------------------- orientation

int TBaseElement::GetAngle() const {
    return image_->Picture.Angle;
}
bool TBaseElement::GetXFlip() const {
    return image_->Picture.XFlip;
}
bool TBaseElement::GetYFlip() const {
    return image_->Picture.YFlip;
}

void TBaseElement::SetAngle(int angle) {
    const bool hasSignal = !FInputs.empty() || !FOutputs.empty();
    if (hasSignal && FConnectors.empty())
        SetBlockAngle(angle);
    else if (!hasSignal && !FConnectors.empty())
        SetElectricalAngle(angle);
}

void TBaseElement::PlaceSignalPin(TInfoConnector* pin, bool output) {
    const int a = pin->CurrentAngleValue();
    const int cx = Width / 2 - pin->Width / 2;
    const int cy = Height / 2 - pin->Height / 2;
    // An input faces the other way from an output at the same angle.
    const int side = output ? a : (a + 180) % 360;
    switch (side) {
    case 0:
        pin->SetPosition(Width - pin->Width, cy);
        break;
    case 90:
        pin->SetPosition(cx, Height - 14);
        break;
    case 180:
        pin->SetPosition(0, cy);
        break;
    case 270:
        pin->SetPosition(cx, 2);
        break;
    default:
        break;
    }
}

void TBaseElement::SetBlockAngle(int angle) {
    if (FInputs.size() > 1 || FOutputs.size() > 1) return;
    if (GetAngle() == angle) return;
    auto turn = [angle](TInfoConnector* pin) {
        int a = pin->CurrentAngleValue() + angle;
        while (a >= 360)
            a -= 360;
        while (a < 0)
            a += 360;
        pin->SetCurrentAngleValue(a);
    };
    for (TInfoOutput* o : FOutputs) {
        turn(o);
        PlaceSignalPin(o, true);
    }
    for (TInfoInput* i : FInputs) {
        turn(i);
        PlaceSignalPin(i, false);
    }
    FAngle += angle;
    while (FAngle >= 360)
        FAngle -= 360;
    while (FAngle < 0)
        FAngle += 360;
    for (TInfoInput* i : FInputs)
        i->RedrawConnection();
    for (TInfoOutput* o : FOutputs)
        o->RedrawConnections();
    sheet_.Repaint();
}

void TBaseElement::SetElectricalAngle(int angle) {
    if (GetAngle() == angle) return;
    // The picture turns first and mirrors after. The pins do the same, a
    // quarter at a time from the unmirrored box, so that where they sit
    // depends only on the angle and the mirrors, as the file records them,
    // and not on the order of the commands that led there.
    const bool xFlip = GetXFlip(), yFlip = GetYFlip();
    SetXFlip(false);
    SetYFlip(false);
    const int target = ((angle % 360) + 360) % 360;
    while (GetAngle() != target)
        TurnElectricalQuarter();
    SetXFlip(xFlip);
    SetYFlip(yFlip);
}

void TBaseElement::TurnElectricalQuarter() {
    const int angle = GetAngle() + 90;
    TRotateableMetafile& pic = image_->Picture;
    const int old = pic.Angle;
    pic.Angle = ((angle % 360) + 360) % 360;
    const int w = Width, h = Height;
    const int turn = angle - old;
    const bool quarter = turn % 180 != 0;
    if (quarter) std::swap(Width, Height);
    const TTransformMatrix m = TTransformMatrix::Build(turn, 1, 1);

    // Twice the control's centre relative to the old element centre, turned,
    // then halved back about the new centre (halving truncates).
    auto place = [&](TControl* c, int newW, int newH) {
        const TPoint p{2 * c->Left + c->Width - w, 2 * c->Top + c->Height - h};
        const TPoint q = m.Apply(p);
        c->SetBounds((q.x + Width - newW) / 2, (q.y + Height - newH) / 2, newW, newH);
    };
    for (TConnector* c : FConnectors)
        place(c, c->Width, c->Height);
    if (quarter) {
        image_->AutoSize = false;
        // The picture control's box keeps its centre; its size follows the turn.
        const TPoint p{2 * image_->Left + image_->Width - w, 2 * image_->Top + image_->Height - h};
        const TPoint q = m.Apply(p);
        const int nw = image_->Height, nh = image_->Width;
        image_->SetBounds((q.x + Width - nw) / 2, (q.y + Height - nh) / 2, nw, nh);
    } else {
        place(image_, image_->Width, image_->Height);
    }
    FAngle = pic.Angle;
    sheet_.Repaint();
}

void TBaseElement::MirrorElectrical(bool horizontal) {
    for (TConnector* c : FConnectors) {
        if (horizontal)
            c->SetPosition(Width - c->Left - c->Width, c->Top);
        else
            c->SetPosition(c->Left, Height - c->Top - c->Height);
    }
    if (horizontal)
        image_->Left = Width - image_->Left - image_->Width;
    else
        image_->Top = Height - image_->Top - image_->Height;
}

void TBaseElement::SetXFlip(bool on) {
    if (on == GetXFlip()) return;
    MirrorElectrical(true);
    image_->Picture.XFlip = on;
    sheet_.Repaint();
}

void TBaseElement::SetYFlip(bool on) {
    if (on == GetYFlip()) return;
    MirrorElectrical(false);
    image_->Picture.YFlip = on;
    sheet_.Repaint();
}

// ---------------------------------------------------------------- mouse

void TBaseElement::MouseDown(TMouseButton button, bool shift, int x, int y) {
    TEditorState& ed = sheet_.Editor;
    if (button == TMouseButton::Right) {
        EditParams();
        return;
    }
    if (button != TMouseButton::Left) return;
    if (ed.PinMode) {
        sheet_.Modified = true;
        if (x < Width / 2) {
            if (ed.AddPinMode)
                AddInput();
            else if (!FInputs.empty())
                DeleteInput(FInputs.front());
        } else {
            if (ed.AddPinMode)
                AddOutput();
            else if (!FOutputs.empty())
                DeleteOutput(FOutputs.front());
        }
        return;
    }
    if (shift) {
        SetSelected(!FSelected);
        return;
    }
    ed.Captured = this;
    ed.DragOrigin = {x, y};
    FMoved = false;
}

void TBaseElement::MouseMove(int x, int y) {
    TEditorState& ed = sheet_.Editor;
    if (ed.Captured != this) return;
    if (x == ed.DragOrigin.x && y == ed.DragOrigin.y) return;
    const int dx = x - ed.DragOrigin.x, dy = y - ed.DragOrigin.y;
    // Any move changes the file: mark it, also for a single unselected element.
    sheet_.Modified = true;
    if (FSelected)
        sheet_.MoveSelection(dx, dy);
    else
        MoveBy(dx, dy);
    FMoved = true;
}

void TBaseElement::MouseUp(TMouseButton button, bool shift, int, int) {
    TEditorState& ed = sheet_.Editor;
    const bool wasCaptured = ed.Captured == this;
    if (wasCaptured) ed.Captured = nullptr;
    if (button != TMouseButton::Left || shift || !wasCaptured || FMoved) return;
    sheet_.ClearSelection();
    SetSelected(true);
}

// ---------------------------------------------------------------- painting

std::vector<TPrimitive> TBaseElement::Paint() const {
    std::vector<TPrimitive> out = image_->Primitives();
    for (TConnector* c : FConnectors) {
        auto x = c->Paint();
        out.insert(out.end(), x.begin(), x.end());
    }
    for (TInfoInput* i : FInputs) {
        auto x = i->Paint();
        out.insert(out.end(), x.begin(), x.end());
    }
    for (TInfoOutput* o : FOutputs) {
        auto x = o->Paint();
        out.insert(out.end(), x.begin(), x.end());
    }
    return out;
}
