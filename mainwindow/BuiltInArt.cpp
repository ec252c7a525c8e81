// Loads a built-in picture from the resources, the doubled one on a screen
// of more than 1x, without asking the image plugins for its format.

#include "mainwindow/BuiltInArt.h"

#include <QFile>
#include <QImageReader>
#include <QString>

namespace mainwindow {

QImage builtInArt(const char* name, qreal devicePixelRatio, QImage::Format format)
{
    const bool doubled = devicePixelRatio > 1.0;
    QFile file(QStringLiteral(":/images/%1%2.png")
                   .arg(QLatin1String(name), doubled ? QStringLiteral("@2x") : QString()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The format is known: asking the image plugins (and loading each, QtSvg's
    // among them) whether they read it too is left out.
    QImageReader reader(&file, "png");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull())
        return image;
    image.convertTo(format);
    image.setDevicePixelRatio(doubled ? 2.0 : 1.0);
    return image;
}

} // namespace mainwindow
