#include "mainwindow/GuidePictures.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>

namespace mainwindow {
namespace {

const char* resourcePath(GuidePicture id)
{
    switch (id) {
    case GuidePicture::Welcome:
        return ":/images/guide_welcome.svg";
    case GuidePicture::PowerOn:
        return ":/images/guide_power.svg";
    case GuidePicture::Network:
        return ":/images/guide_network.svg";
    case GuidePicture::None:
        break;
    }
    return "";
}

} // namespace

QPixmap guidePicture(GuidePicture id)
{
    QPixmap picture(kGuidePictureWidth, kGuidePictureHeight);
    picture.fill(QApplication::palette().color(QPalette::Button));
    QSvgRenderer renderer(QString::fromLatin1(resourcePath(id)));
    if (renderer.isValid()) {
        QPainter painter(&picture);
        renderer.render(&painter, QRectF(0, 0, kGuidePictureWidth, kGuidePictureHeight));
    }
    return picture;
}

} // namespace mainwindow
