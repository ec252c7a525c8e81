#pragma once
// What the running instance does when a later start asks for its window, and
// where the activation tokens stay meanwhile: with the program, not in its
// environment, which every program it starts (file manager, browser) would
// inherit.

#include <functional>

class QString;
class QWidget;

namespace app {

// Takes this start's own activation token (XDG_ACTIVATION_TOKEN, from its
// launcher) out of the environment and returns it; empty when it had none or
// one that is not a short run of printable ASCII. Call at the top of main,
// before any thread exists.
QString takeLaunchToken();

// Runs activate (which shows or activates a window) with token in the
// environment, where Qt's Wayland plugin looks for it, and removes it right
// after, whether the plugin used it or not. Elsewhere, or without a token,
// only runs activate. True when the plugin took the token.
bool activateWithToken(const QString& token, const std::function<void()>& activate);

// Brings the main window forward (restored if minimised, raised, activated).
// While the main window is still hidden behind the start-up search, it stays
// hidden: the search window is brought forward instead, so nothing flashes
// early. activationToken: the later start's xdg-activation token, which a
// Wayland compositor asks for before it gives a window the focus; unused on
// other window systems, and in the environment only while it is used.
void bringForward(QWidget* mainWindow, QWidget* searchWindow, const QString& activationToken);

} // namespace app
