#include "gui/SheetExport.h"

#include <algorithm>

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>

#include "app/Editor.h"
#include "app/SheetLabels.h"
#include "gui/SheetPainter.h"
#include "model/Messages.h"

namespace {

constexpr int Margin = 20;

void PaintArea(QPainter& painter, const TEditor& editor, const QRect& area) {
    painter.translate(-area.topLeft());
    PaintSheet(painter, editor, area);
}

} // namespace

bool ExportSheet(const TEditor& editor, const QString& path, bool selectionOnly, QString* error) {
    const auto bounds = DrawingBounds(editor.Sheet(), selectionOnly, Margin);
    if (!bounds) {
        if (error) *error = QString::fromUtf8("Нечего экспортировать: лист пуст");
        return false;
    }
    const QRect area(QPoint(bounds->left, bounds->top), QPoint(bounds->right, bounds->bottom));
    const QString suffix = QFileInfo(path).suffix().toLower();
    bool written = false;
    if (suffix == "png") {
        QImage image(area.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PaintArea(painter, editor, area);
        }
        written = image.save(path, "PNG");
    } else if (suffix == "svg") {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(area.size());
        svg.setViewBox(QRect(QPoint(0, 0), area.size()));
        svg.setTitle(QString::fromUtf8(ApplicationTitle));
        QPainter painter;
        if (painter.begin(&svg)) {
            PaintArea(painter, editor, area);
            written = painter.end();
        }
    } else if (suffix == "pdf") {
        // One page the size of the drawing, at the sheet's 96 pixels per inch.
        QPdfWriter pdf(path);
        pdf.setResolution(96);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(area.width() * 72.0 / 96, area.height() * 72.0 / 96), QPageSize::Point));
        pdf.setCreator(QString::fromUtf8(ApplicationTitle));
        QPainter painter;
        if (painter.begin(&pdf)) {
            PaintArea(painter, editor, area);
            written = painter.end();
        }
    } else {
        if (error) *error = QString::fromUtf8("Неизвестный формат файла: ") + path;
        return false;
    }
    if (!written && error) *error = QString::fromUtf8("Не удалось записать файл ") + path;
    return written;
}

bool PrintSheet(const TEditor& editor, QPrinter& printer) {
    const auto bounds = DrawingBounds(editor.Sheet(), false, Margin);
    if (!bounds) return false;
    const QRect area(QPoint(bounds->left, bounds->top), QPoint(bounds->right, bounds->bottom));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const double scale = std::min(page.width() / area.width(), page.height() / area.height());
    painter.translate((page.width() - area.width() * scale) / 2,
                      (page.height() - area.height() * scale) / 2);
    painter.scale(scale, scale);
    PaintArea(painter, editor, area);
    return painter.end();
}
