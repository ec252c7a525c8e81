#include "mainwindow/BuiltInArt.h"

#include <QImageReader>
#include <QString>

namespace mainwindow {

QImage builtInArt(const char* name, qreal devicePixelRatio, QImage::Format format)
{
    const bool doubled = devicePixelRatio > 1.0;
    QImageReader reader(QStringLiteral(":/images/%1%2.png")
                            .arg(QLatin1String(name), doubled ? QStringLiteral("@2x") : QString()));
    QImage image = reader.read();
    if (image.isNull())
        return image;
    image.convertTo(format);
    image.setDevicePixelRatio(doubled ? 2.0 : 1.0);
    return image;
}

} // namespace mainwindow
