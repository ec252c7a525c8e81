#pragma once
// A pause on the GUI thread that keeps the window alive: timers fire and the
// window repaints, but no mouse or keyboard input is taken until it is over.

namespace platform {

// Returns after about milliseconds ms (at once for 0 or less).
void pauseResponsive(int milliseconds);

} // namespace platform
