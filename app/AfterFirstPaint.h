#pragma once
// Work the start-up leaves until its first window is on screen.

#include <functional>

class QWidget;

namespace app {

// Runs work once, on the event loop, right after the widget has been painted
// for the first time (so the window is drawn before the work begins). Never
// runs if the widget is destroyed first.
void afterFirstPaint(QWidget* widget, std::function<void()> work);

} // namespace app
