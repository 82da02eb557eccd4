#include "model/TControl.h"

#include "model/TBaseElement.h"

TControl::TControl(TBaseElement* parent, std::string name, int width, int height)
    : Name(std::move(name)), Width(width), Height(height), parent_(parent) {}

TRect TControl::SheetRect() const {
    const int x = parent_ ? parent_->Left : 0;
    const int y = parent_ ? parent_->Top : 0;
    return RectFromBounds(x + Left, y + Top, Width, Height);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    Left = left;
    Top = top;
    Width = width;
    Height = height;
}

void TImage::SetPicture(TPicture picture) {
    Picture.Picture = std::move(picture);
    if (AutoSize) {
        const bool turned = (Picture.Angle / 90) % 2 != 0;
        Width = turned ? Picture.Picture.Height : Picture.Picture.Width;
        Height = turned ? Picture.Picture.Width : Picture.Picture.Height;
    }
}
