#pragma once

#include <QColor>

QT_BEGIN_NAMESPACE
class QChart;
class QValueAxis;
QT_END_NAMESPACE

// The look of the plots: meant to go into a report as it is.

// A colour per input, distinct from its neighbours and legible on white.
QColor CurveColor(int input);
inline constexpr double CurveWidth = 1.8;
// Curves denser than this many points per pixel are drawn with thin lines:
// they fill a band either way, and wide pens cost seconds per repaint there.
inline constexpr double DensePointsPerPixel = 1.5;
inline constexpr int PlotMarginLeft = 6;

void StyleChart(QChart* chart);
void StyleAxis(QValueAxis* axis);
