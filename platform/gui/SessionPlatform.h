#pragma once
// Which window system the program runs on. Its windows are fixed-size and
// title-only, centred, and raised by a later start: X11 window managers do
// all of that from the hints the program writes, while a Wayland compositor
// may ignore the placement, and one that draws no frames leaves Qt to draw
// its own title bar with buttons. So on a Wayland session that also offers
// an X server (XWayland), the program runs on X11 unless the user chose a
// platform (QT_QPA_PLATFORM, or Qt's -platform argument, which wins anyway).

#include <string_view>

namespace platform {

// The platform list to ask Qt for, or empty for Qt's own choice. Each
// argument is the environment variable's value, empty when unset.
std::string_view platformToRequest(std::string_view chosenPlatform, std::string_view waylandDisplay,
                                   std::string_view x11Display);

// Call before the application object is made: asks for the platform above.
// Returns whether it set QT_QPA_PLATFORM.
bool requestSessionPlatform();
// Call once the application object is made, with what requestSessionPlatform
// returned: programs we start (the file manager, the browser) get the
// user's own environment.
void forgetSessionPlatformRequest(bool requested);

} // namespace platform
