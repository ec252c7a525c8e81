#pragma once
// What the running instance does when a later start asks for its window.

class QWidget;

namespace app {

// Brings the main window forward (restored if minimised, raised, activated).
// While the main window is still hidden behind the start-up search, it stays
// hidden: the search window is raised instead, so nothing flashes early.
void bringForward(QWidget* mainWindow, QWidget* searchWindow);

} // namespace app
