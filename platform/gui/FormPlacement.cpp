#include "platform/gui/FormPlacement.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace platform {

void setPixelFont(QWidget* widget, int pixels)
{
    QFont face = widget->font();
    face.setPixelSize(pixels);
    widget->setFont(face);
}

void centreOnDesktop(QWidget* window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->geometry().center() - window->rect().center());
}

} // namespace platform
