// Each guide picture rendered from its built-in drawing at the screen's ratio.

#include "mainwindow/GuidePictures.h"

#include "mainwindow/BuiltInArt.h"
#include "mainwindow/core/GuidePicture.h"

#include <QApplication>
#include <QPalette>
#include <utility>

namespace mainwindow {
namespace {

const char* artName(GuidePicture id)
{
    switch (id) {
    case GuidePicture::Welcome:
        return "guide_welcome";
    case GuidePicture::PowerOn:
        return "guide_power";
    case GuidePicture::Network:
        return "guide_network";
    case GuidePicture::None:
        break;
    }
    return "";
}

} // namespace

QPixmap guidePicture(GuidePicture id, qreal devicePixelRatio)
{
    QImage art = builtInArt(artName(id), devicePixelRatio, QImage::Format_RGB32);
    if (!art.isNull()) // handed over, not copied: one buffer in the screen's format
        return QPixmap::fromImage(std::move(art), Qt::NoFormatConversion);
    QPixmap plain(kGuidePictureWidth, kGuidePictureHeight);
    plain.fill(QApplication::palette().color(QPalette::Button));
    return plain;
}

} // namespace mainwindow
