#pragma once

#include <QImage>
#include <QString>

struct VieloOptions;

// Writes the picture; the format follows the file's suffix, PNG when it has
// none. Returns an empty string on success, otherwise the message for the user.
QString SavePictureFile(const QImage& image, const QString& path);

// The command-line exports, without a window. Prints the reason on standard
// error when something fails; returns the exit status.
int RunHeadless(int argc, char** argv, const VieloOptions& options);
