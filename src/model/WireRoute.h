#pragma once

#include <vector>

#include "model/Geometry.h"

class TElectricLine;

// The segment of `route` whose free end lies at p, or null.
TElectricLine* SegmentWithFreeEndAt(const std::vector<TElectricLine*>& route, TPoint p);
// Leads a new route from `from`, a free end of `line`, to `to`, joined to
// `line` there; returns the route's segment whose free end lies at `to`.
TElectricLine* ExtendWire(TElectricLine* line, TPoint from, TPoint to);
