#pragma once

#include <QRect>

class QPainter;
class TEditor;

// Paints the editor's schematic in sheet coordinates: wires, signal links,
// elements with their pins and selection, display values, then the rubber
// band, rubber wire and rubber link over everything. Only what meets `clip`
// is drawn. `gridScale` > 0: the editor's dot grid under the drawing, as the
// window shows it at that scale (exports and prints leave it out).
void PaintSheet(QPainter& painter, const TEditor& editor, const QRect& clip, double gridScale = 0);

// The dot grid, every `step` sheet pixels; too dense to read at a small
// scale, it then shows every second, fifth or tenth dot.
void PaintGrid(QPainter& painter, const QRect& clip, int step, double scale);
