#pragma once

#include <QRect>

class QPainter;
class TEditor;

// Paints the editor's schematic in sheet coordinates: wires, signal links,
// elements with their pins and selection, display values, then the rubber
// band, rubber wire and rubber link over everything. Only what meets `clip`
// is drawn.
void PaintSheet(QPainter& painter, const TEditor& editor, const QRect& clip);
