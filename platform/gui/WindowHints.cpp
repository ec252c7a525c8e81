// Sets the title-only window flags and fixes the window's size, then leaves
// what Qt's flags cannot say to each window system's half.

#include "platform/gui/WindowHints.h"

#include "platform/gui/TitleOnlyFrame.h"

#include <QWidget>

namespace platform {

void useTitleOnlyFrame(QWidget* window, Qt::WindowType type)
{
    // Title, and no system menu, minimise, maximise or close hint. Not
    // Windows' fixed-size dialog frame: it keeps the native size when the
    // window moves to a screen of another scale, and clips it there.
    window->setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // Minimum = maximum: window managers offer neither resizing nor
    // maximising, and Windows scales the size with the screen.
    window->setFixedSize(window->size());
    keepTitleOnlyFrame(window);
}

} // namespace platform
