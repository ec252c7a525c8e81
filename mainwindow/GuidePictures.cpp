#include "mainwindow/GuidePictures.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>

namespace mainwindow {
namespace {

const char* resourcePath(GuidePictureId id)
{
    switch (id) {
    case GuidePictureId::Welcome:
        return ":/images/guide_welcome.svg";
    case GuidePictureId::PowerOn:
        return ":/images/guide_power.svg";
    case GuidePictureId::Network:
        return ":/images/guide_network.svg";
    }
    return "";
}

} // namespace

QPixmap guidePicture(GuidePictureId id)
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
