#include "app/StartUpActivation.h"

#include <QWidget>

namespace app {

void bringForward(QWidget* mainWindow, QWidget* searchWindow)
{
    if (mainWindow && mainWindow->isVisible()) {
        if (mainWindow->isMinimized())
            mainWindow->showNormal();
        mainWindow->raise();
        mainWindow->activateWindow();
        return;
    }
    if (searchWindow && searchWindow->isVisible())
        searchWindow->raise();
}

} // namespace app
