#include "platform/gui/WindowHints.h"

#include "platform/gui/TitleOnlyFrame.h"

#include <QWidget>

namespace platform {

void useTitleOnlyFrame(QWidget* window, Qt::WindowType type)
{
    // Title, and no system menu, minimise, maximise or close hint.
    window->setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    // Minimum = maximum: window managers offer neither resizing nor maximising.
    window->setFixedSize(window->size());
    keepTitleOnlyFrame(window);
}

} // namespace platform
