#pragma once

#include "model/Geometry.h"

class Schematic;
class TConnector;
class TElectricLine;

// The topmost (latest) segment whose 5-pixel box holds the sheet point.
TElectricLine* LineAt(const Schematic& sheet, TPoint p);
// The topmost (latest) electrical pin whose box holds the sheet point.
TConnector* ConnectorAt(const Schematic& sheet, TPoint p);
