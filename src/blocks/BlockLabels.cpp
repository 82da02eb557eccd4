#include "blocks/BlockLabels.h"

#include <algorithm>
#include <cmath>

#include "forms/PictureBuilder.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TInfoConnector.h"
#include "params/ValueText.h"

int LabelTextWidth(std::string_view text, int fontSize) {
    // Advance widths of DejaVu Sans, the sheet's face, in ems.
    double ems = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            ems += 0.64;
        else if (c == '.' || c == ',' || c == ' ')
            ems += 0.32;
        else if (c == '-')
            ems += 0.36;
        else if (c == '+')
            ems += 0.84;
        else
            ems += 0.65;
    }
    return int(std::ceil(ems * fontSize));
}

namespace {

constexpr int LabelMargin = 5;

} // namespace

TPicture ValueLabelPicture(const std::string& text, int minWidth, int height, int fontSize) {
    const int width = std::max(minWidth, LabelTextWidth(text, fontSize) + 2 * LabelMargin);
    return PictureBuilder(width, height)
        .Rect({0, 0}, {width - 1, height - 1})
        .Text({width / 2, height / 2}, text, fontSize);
}

TPicture TransferFunctionPicture(const std::string& factor, const std::string& numerator,
                                 const std::string& denominator, int minWidth) {
    constexpr int fontSize = 11, height = 37, margin = 3, gap = 2, overhang = 2;
    constexpr int barY = 18, numY = 10, denY = 27;
    const int factorWidth = LabelTextWidth(factor, fontSize);
    const int fractionWidth =
        std::max(LabelTextWidth(numerator, fontSize), LabelTextWidth(denominator, fontSize));
    const int needed = margin + factorWidth + gap + fractionWidth + 2 * overhang + margin + 1;
    const int width = std::max(minWidth, needed);
    // Spare room of a minimum-width outline is shared on both sides.
    const int left = margin + (width - needed) / 2;
    const int barLeft = left + factorWidth + gap;
    const int barRight = barLeft + fractionWidth + 2 * overhang;
    const int fractionCentre = (barLeft + barRight) / 2;
    return PictureBuilder(width, height)
        .Rect({0, 0}, {width - 1, height - 1})
        .Text({left, barY}, factor, fontSize, TTextAlign::Left)
        .Text({fractionCentre, numY}, numerator, fontSize)
        .Line({barLeft, barY}, {barRight, barY})
        .Text({fractionCentre, denY}, denominator, fontSize);
}

void FitBlockToPicture(TBaseElement& block, TPicture picture) {
    TImage* image = block.Image();
    // The first layout moves the outline and the pins down into the block's
    // margin, so that the pins' line is the middle of the box and a turned
    // block still has its pins on the outline.
    constexpr int PinRoom = 12;
    if (const int down = PinRoom - image->Top; down > 0) {
        image->Top += down;
        for (TInfoOutput* o : block.FOutputs)
            o->SetPosition(o->Left, o->Top + down);
        for (TInfoInput* i : block.FInputs)
            i->SetPosition(i->Left, i->Top + down);
        block.Height += down;
    }
    image->SetPicture(std::move(picture));
    const int rightEdge = image->Left + image->Width - 1;
    const int centre = image->Left + (image->Width - 1) / 2;
    block.Width = rightEdge + TInfoConnector::Size;
    auto place = [&](TInfoConnector* pin, int side) {
        if (side == 0)
            pin->SetPosition(rightEdge, pin->Top);
        else if (side == 90 || side == 270)
            pin->SetPosition(centre - pin->Width / 2, pin->Top);
    };
    for (TInfoOutput* o : block.FOutputs)
        place(o, o->CurrentAngleValue());
    // An input faces the other way from an output at the same angle.
    for (TInfoInput* i : block.FInputs)
        place(i, (i->CurrentAngleValue() + 180) % 360);
    block.Sheet().Repaint();
}

std::string ParamDisplayText(const ParamValue& value) {
    const double factor = UnitFactor(value);
    return FormatShownReal(factor != 0 ? value.Value / factor : value.Value);
}
