#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "GrpSamples.h"
#include "vielo/AxisScale.h"

// Lays a widget out at its size without putting it on a screen.
void ShowOffscreen(QWidget& widget, QSize size);

// A mouse move with no button held, delivered straight to the widget.
void HoverMouse(QWidget* widget, QPoint pos);

std::shared_ptr<const GrpData> Shared(GrpData data);

// Pixels within a small distance of the colour: how much of a curve is drawn.
int PixelsOfColour(const QImage& image, const QColor& colour);

// Padded extent of the given inputs over the whole run, computed directly.
AxisRange ExpectedValueRange(const GrpData& data, const std::vector<int>& inputs);
