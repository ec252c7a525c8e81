#pragma once
// What the program's form descriptions cannot say themselves: character
// heights in pixels (a form description holds point sizes) and the place in
// the centre of the desktop.

class QWidget;

namespace platform {

// Keeps the widget's face and sets its character height in pixels.
void setPixelFont(QWidget* widget, int pixels);

// Moves a top-level window, its frame included, to the centre of the primary
// screen's available area (the taskbar and panels left out). A window larger
// than that area keeps its title bar on screen.
void centreOnDesktop(QWidget* window);

} // namespace platform
