#pragma once

#include <QString>

class TEditor;

// Writes the sheet, or only its selection, cropped to the drawing with a
// margin: SVG and PDF as vectors, PNG as an image at one pixel per sheet
// pixel. The format follows the file's extension. False with `error` set
// when there is nothing to export, the extension is unknown, or the file
// cannot be written.
bool ExportSheet(const TEditor& editor, const QString& path, bool selectionOnly, QString* error);

class QPrinter;

// Prints the whole drawing on one page of the printer, fitted to the page
// and centred, keeping its proportions. False when there is nothing to print.
bool PrintSheet(const TEditor& editor, QPrinter& printer);
