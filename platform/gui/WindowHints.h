#pragma once
// Frames the program's fixed windows ask every window manager for: a border
// and a title, nothing in the title bar (no system menu, no minimise,
// maximise or close box) and a size that cannot change. Qt's flags say this
// on Windows; on X11 they cannot (Qt's Motif hints carry no decorations word
// for a title-only frame and still allow resizing), so the hints are written
// here again, after Qt's own, whenever the native window is made or shown.

#include <Qt>

class QWidget;

namespace platform {

// type: Qt::Window for a main window, Qt::Dialog for a dialog. Fixes the
// window at its present size. Call before the window is first shown.
void useTitleOnlyFrame(QWidget* window, Qt::WindowType type);

} // namespace platform
