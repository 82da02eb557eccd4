#pragma once

#include <vector>

#include <QColor>

#include "model/TRotateableMetafile.h"

class QPainter;

// Windows colour value 0x00BBGGRR to a Qt colour.
QColor ToQColor(TColor color);

// Draws picture primitives (element coordinates, as TBaseElement::Paint and
// TRotateableMetafile::Play give them) with a QPainter whose transform places
// the element. Integer coordinates are pixel centres, so one-pixel lines stay
// crisp with antialiasing on.
class PicturePainter {
public:
    explicit PicturePainter(QPainter& painter) : painter_(painter) {}

    void Draw(const std::vector<TPrimitive>& items);
    void Draw(const TPrimitive& item);

private:
    void DrawText(const TPrimitive& item);

    QPainter& painter_;
};
