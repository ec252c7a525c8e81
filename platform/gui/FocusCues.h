#pragma once
// Qt draws the focus frame of a window only once the keyboard has moved the
// focus in that very window, so a dialog opened from the keyboard would show
// no focus until the next Tab. A window given here shows its focus from the
// start when the window it was opened from showed its own.

class QWidget;

namespace platform {

void carryFocusCues(QWidget* window);

} // namespace platform
