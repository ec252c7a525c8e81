#pragma once
// The per-OS half of useTitleOnlyFrame (WindowHints.h): what the window
// system needs beyond Qt's flags to keep a window's frame title-only.

class QWidget;

namespace platform {

void keepTitleOnlyFrame(QWidget* window);

} // namespace platform
