#include "blocks/JunctionInputs.h"

#include <algorithm>
#include <memory>

#include "blocks/Families.h"
#include "model/Messages.h"
#include "model/TInfoConnector.h"
#include "params/ValueText.h"

namespace {

// Added inputs are named after their position, skipping names still in use
// after a deletion.
std::string FreeInputName(const TStatic& block) {
    for (std::size_t n = block.FInputs.size() + 1;; ++n) {
        std::string name = "Input" + std::to_string(n);
        if (!block.FindChild(name)) return name;
    }
}

// The body picture stretched to `height`: the outline's bottom edge moves
// down and the sign stays in the middle.
TPicture StretchedBody(TPicture picture, int height) {
    picture.Height = height;
    for (TPrimitive& p : picture.Items) {
        if ((p.Kind == TPrimitiveKind::Ellipse || p.Kind == TPrimitiveKind::Rectangle) &&
            p.Points.size() == 2)
            p.Points[1].y = height - 1;
        else if (p.Kind == TPrimitiveKind::Text && !p.Points.empty())
            p.Points[0].y = height / 2;
    }
    return picture;
}

} // namespace

TInfoInput* CreateJunctionInput(TStatic& block) {
    auto pin = std::make_unique<TInfoInput>(&block, FreeInputName(block));
    TInfoInput* raw = block.AddChild(std::move(pin));
    block.FInputs.push_back(raw);
    return raw;
}

bool RemoveJunctionInput(TStatic& block, TInfoInput* input) {
    if (int(block.FInputs.size()) <= JunctionMinInputs) return false;
    if (std::find(block.FInputs.begin(), block.FInputs.end(), input) == block.FInputs.end())
        return false;
    block.RemoveChild(input);
    block.Input = block.FInputs.front();
    return true;
}

void LayOutJunction(TStatic& block) {
    const int n = int(block.FInputs.size());
    TImage* body = block.Image();
    const int top = body->Top;
    // Three pixels above the first input and three below the last.
    const int height = JunctionInputPitch * n + 6;
    body->SetPicture(StretchedBody(body->Picture.Picture, height));
    block.Height = top + height + 12;
    for (int i = 0; i < n; ++i) {
        TInfoInput* in = block.FInputs[std::size_t(i)];
        in->SetPosition(in->Left, top + 3 + JunctionInputPitch * i);
    }
    if (TInfoOutput* out = block.Output)
        out->SetPosition(out->Left, top + height / 2 - out->Height / 2);
    block.Sheet().Repaint();
}

void AppendInputCount(const TStatic& block, std::vector<std::string>& list) {
    if (int(block.FInputs.size()) <= JunctionMinInputs || list.empty()) return;
    list.back() += "#" + std::to_string(block.FInputs.size());
}

int InputCountInHeader(const TStatic& block, std::string_view header, int lineIndex) {
    const auto hash = header.find('#');
    if (hash == std::string_view::npos) return 0;
    long count = 0;
    if (!ReadInt(header.substr(hash + 1), count)) {
        ReportLineProblem(lineIndex,
                          "элемент " + block.Name() + " №" + std::to_string(block.ElementIndex()) +
                              ", число входов: \"" + std::string(header.substr(hash + 1)) +
                              "\" не является числом");
        return 0;
    }
    // A damaged count must not fill the sheet with pins.
    return int(std::clamp(count, 0L, 100L));
}

void GrowJunctionTo(TStatic& block, int count) {
    if (int(block.FInputs.size()) >= count) return;
    while (int(block.FInputs.size()) < count)
        CreateJunctionInput(block);
    LayOutJunction(block);
}
