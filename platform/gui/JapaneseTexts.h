#pragma once
// Qt's own words in the program's windows (the edit fields' context menus)
// in Japanese, as the system's edit controls say them on Japanese Windows,
// whatever language the PC or the desktop is set to.

namespace platform {

// Call once after the application object exists and before any window is made.
void installJapaneseTexts();

} // namespace platform
