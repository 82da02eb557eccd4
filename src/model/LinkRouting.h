#pragma once

#include <vector>

#include "model/Geometry.h"

// The orthogonal route of a signal link between an output and an input,
// given the pin centres on the sheet and the pin angles (degrees, 0..359).
// The result starts at the output's centre, passes its stub point 6 pixels
// out of the output and ends at the input's stub point 6 pixels in front of
// the input, where the input's own line takes over; consecutive points may
// repeat. When either angle is not a multiple of 90 the route is the two
// stubs joined by one direct piece, and it ends at the input's centre.
std::vector<TPoint> RouteSignalLink(TPoint outCentre, int outAngle, TPoint inCentre, int inAngle);

// Reduces an angle in degrees to 0..359.
int ReduceAngle(int angle);
