#pragma once

#include <QIcon>

// Tool bar icons: the desktop theme's where it has one, otherwise drawn here
// so that the tool bar looks the same on a bare system.
namespace Icons {
QIcon Open();
QIcon Reload();
QIcon SavePicture();
QIcon ExportTable();
QIcon Fit();
QIcon Previous();
QIcon ZoomIn();
QIcon ZoomOut();
QIcon Stacked();
} // namespace Icons
