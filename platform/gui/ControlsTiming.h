#pragma once
// When a window made at start-up makes its controls.

namespace platform {

// Now: in the constructor. Later: before the window is first shown, or
// earlier when asked (makeControls()) or when a handler needs them. The
// start-up makes its windows with Later, so that only what the first window
// shows is made before it is on screen.
enum class ControlsTiming
{
    Now,
    Later
};

} // namespace platform
