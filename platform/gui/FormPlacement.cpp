// Pixel font heights and centring a window on the desktop.

#include "platform/gui/FormPlacement.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace platform {

void setPixelFont(QWidget* widget, int pixels)
{
    QFont face = widget->font();
    face.setPixelSize(pixels);
    widget->setFont(face);
}

void centreOnDesktop(QWidget* window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // move() places the frame; its size is the window's until the window
    // system has framed it.
    QRect frame(QPoint(), window->frameGeometry().size());
    frame.moveCenter(area.center());
    window->move(std::max(frame.left(), area.left()), std::max(frame.top(), area.top()));
}

} // namespace platform
