// quentor-gallery: renders every element class into one PNG contact sheet
// (plain, turned by 90 degrees, mirrored, selected), to review the pictures.
#include <algorithm>
#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "gui/PicturePainter.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TInfoConnector.h"

namespace {

struct Options {
    std::string output = "gallery.png";
    double scale = 1.0;
    int columns = 3;
    int cell = 190; // holds the largest element turned either way
    std::vector<std::string> only;
};

const char* const VariantNames[] = {"0°", "90°", "mirrored", "selected"};
constexpr int VariantCount = 4;
constexpr int CaptionHeight = 18;
constexpr int NameHeight = 22;

void Usage() {
    std::puts("Usage: quentor-gallery [--scale S] [--columns N] [--cell PIXELS] [--only TA,TB,...] "
              "[OUT.png]");
}

bool ParseOptions(int argc, char** argv, Options& opt) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--scale" && hasValue) {
            opt.scale = std::stod(argv[++i]);
        } else if (arg == "--columns" && hasValue) {
            opt.columns = std::max(1, std::stoi(argv[++i]));
        } else if (arg == "--cell" && hasValue) {
            opt.cell = std::max(40, std::stoi(argv[++i]));
        } else if (arg == "--only" && hasValue) {
            std::stringstream list(argv[++i]);
            for (std::string name; std::getline(list, name, ',');)
                if (!name.empty()) opt.only.push_back(name);
        } else if (arg == "--help" || arg == "-h" || arg[0] == '-') {
            return false;
        } else {
            opt.output = arg;
        }
    }
    return true;
}

// The element as the sheet shows it: picture and pins.
std::vector<TPrimitive> ElementDrawing(const TBaseElement& e) { return e.Paint(); }

void Prepare(TBaseElement& e, int variant) {
    switch (variant) {
    case 1:
        e.SetAngle(e.GetAngle() + 90);
        break;
    case 2:
        e.SetXFlip(true);
        break;
    case 3:
        e.SetSelected(true);
        break;
    default:
        break;
    }
}

void DrawCell(QPainter& painter, const std::string& className, int variant, QPointF origin,
              int cell) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, className);
    Prepare(*e, variant);
    const QPointF topLeft = origin + QPointF((cell - e->Width) / 2, (cell - e->Height) / 2);

    painter.save();
    painter.translate(topLeft);
    painter.setPen(QPen(QColor(200, 200, 200), 0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0, 0, e->Width, e->Height));
    PicturePainter(painter).Draw(ElementDrawing(*e));
    painter.restore();

    painter.setPen(QColor(120, 120, 120));
    painter.drawText(QRectF(origin.x(), origin.y() + cell, cell, CaptionHeight), Qt::AlignCenter,
                     QString::fromUtf8(VariantNames[variant]));
}

std::vector<std::string> ClassesToShow(const Options& opt) {
    if (!opt.only.empty()) return opt.only;
    std::vector<std::string> names;
    for (const TElementClass* cls : AllElementClasses())
        if (cls->Create && cls->Name.rfind("TTest", 0) != 0) names.push_back(cls->Name);
    return names;
}

} // namespace

int main(int argc, char** argv) {
    Options opt;
    bool parsed = false;
    try {
        parsed = ParseOptions(argc, argv, opt);
    } catch (const std::logic_error&) {
        // A number option without a number.
    }
    if (!parsed) {
        Usage();
        return 2;
    }
    QGuiApplication app(argc, argv);

    const std::vector<std::string> names = ClassesToShow(opt);
    const int cardWidth = VariantCount * opt.cell;
    const int cardHeight = opt.cell + CaptionHeight + NameHeight;
    const int rows = (int(names.size()) + opt.columns - 1) / opt.columns;
    const QSize size(int(opt.columns * cardWidth * opt.scale), int(rows * cardHeight * opt.scale));
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(opt.scale, opt.scale);
    QFont nameFont = painter.font();
    nameFont.setPixelSize(13);
    nameFont.setBold(true);
    QFont captionFont = painter.font();
    captionFont.setPixelSize(11);

    for (std::size_t i = 0; i < names.size(); ++i) {
        const QPointF card((int(i) % opt.columns) * cardWidth, (int(i) / opt.columns) * cardHeight);
        if (!FindElementClass(names[i]) || !FindElementClass(names[i])->Create) {
            std::fprintf(stderr, "quentor-gallery: no concrete class %s\n", names[i].c_str());
            continue;
        }
        painter.setFont(captionFont);
        for (int v = 0; v < VariantCount; ++v)
            DrawCell(painter, names[i], v, card + QPointF(v * opt.cell, 0), opt.cell);
        painter.setFont(nameFont);
        painter.setPen(Qt::black);
        painter.drawText(
            QRectF(card.x(), card.y() + opt.cell + CaptionHeight, cardWidth, NameHeight),
            Qt::AlignCenter, QString::fromStdString(names[i]));
        painter.setPen(QColor(230, 230, 230));
        painter.drawRect(QRectF(card.x(), card.y(), cardWidth - 1, cardHeight - 1));
    }
    painter.end();
    if (!image.save(QString::fromStdString(opt.output))) {
        std::fprintf(stderr, "quentor-gallery: cannot write %s\n", opt.output.c_str());
        return 1;
    }
    std::printf("%s: %zu classes\n", opt.output.c_str(), names.size());
    return 0;
}
