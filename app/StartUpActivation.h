#pragma once
// What the running instance does when a later start asks for its window.

class QString;
class QWidget;

namespace app {

// Brings the main window forward (restored if minimised, raised, activated).
// While the main window is still hidden behind the start-up search, it stays
// hidden: the search window is brought forward instead, so nothing flashes
// early. activationToken: the later start's xdg-activation token, which a
// Wayland compositor asks for before it gives a window the focus; unused on
// other window systems.
void bringForward(QWidget* mainWindow, QWidget* searchWindow, const QString& activationToken);

} // namespace app
