// svg_raster: turns a drawing into the bitmap the program embeds, at build
// time, so that the program itself never renders vector art.
//
//   svg_raster picture IN.svg OUT.png SCALE   opaque 24-bit, the drawing's own
//                                             size times SCALE
//   svg_raster unit IN.svg OUT.png SCALE      the unit drawing for the device
//                                             list's icons: transparent square
//                                             of kUnitIconSize times SCALE
//
// Rendered by the same renderer that drew these pictures at run time before,
// so the pixels at scale 1 stay what they were.

#include "mainwindow/core/IconLayout.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

QImage picture(QSvgRenderer& renderer, int scale)
{
    QImage image(renderer.defaultSize() * scale, QImage::Format_RGB32);
    image.fill(Qt::white); // hidden: the drawing covers the whole area
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage unit(QSvgRenderer& renderer, int scale)
{
    using namespace mainwindow;
    QImage image(kUnitIconSize * scale, kUnitIconSize * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QRectF box(kUnitArtBox.left, kUnitArtBox.top, kUnitArtBox.width, kUnitArtBox.height);
    const QSizeF art = renderer.defaultSize();
    const double fit = std::min(box.width() / art.width(), box.height() / art.height());
    const QSizeF drawn = art * fit;
    const QRectF target(box.left() + (box.width() - drawn.width()) / 2,
                        box.bottom() - drawn.height(), drawn.width(), drawn.height());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    renderer.render(&painter, target);
    painter.end();
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    // Text in the drawings needs the font database; no screen is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime; // a private one, where the build gives none
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QGuiApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int scale = args.size() == 5 ? args.at(4).toInt() : 0;
    if (scale < 1 || scale > 4 || (args.at(1) != "picture" && args.at(1) != "unit")) {
        std::fprintf(stderr, "usage: svg_raster picture|unit IN.svg OUT.png SCALE (1..4)\n");
        return 2;
    }
    QSvgRenderer renderer(args.at(2));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "svg_raster: cannot read %s\n", qPrintable(args.at(2)));
        return 1;
    }
    const QImage image = args.at(1) == "picture" ? picture(renderer, scale) : unit(renderer, scale);
    // Quality 0 asks for the strongest compression.
    if (!image.save(args.at(3), "PNG", 0)) {
        std::fprintf(stderr, "svg_raster: cannot write %s\n", qPrintable(args.at(3)));
        return 1;
    }
    return 0;
}
