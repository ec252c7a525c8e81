#include "app/StartUpActivation.h"

#include <QGuiApplication>
#include <QString>
#include <QWidget>

namespace app {
namespace {

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

void bringForward(QWidget* mainWindow, QWidget* searchWindow, const QString& activationToken)
{
    // Qt's Wayland plugin activates the next window with the token it finds
    // here, then forgets it.
    const bool wayland = onWayland();
    if (wayland && !activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toLatin1());

    if (mainWindow && mainWindow->isVisible()) {
        if (mainWindow->isMinimized())
            mainWindow->showNormal();
        mainWindow->raise();
        mainWindow->activateWindow();
        return;
    }
    if (searchWindow && searchWindow->isVisible()) {
        searchWindow->raise();
        // Raising is the window manager's to do on X11; a Wayland
        // compositor raises only a window it activates.
        if (wayland)
            searchWindow->activateWindow();
    }
}

} // namespace app
