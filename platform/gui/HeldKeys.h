#pragma once
// A held Return or Enter presses a button once. While a key is held the
// window system repeats its press, and a key whose release never came (a
// remote-control tool that sent the press to a box that closed on it) repeats
// until it is released: each repeat would press whatever button has the
// focus then, in whichever window has it, over and over. Only a real press
// counts: the repeats of a held key press nothing anywhere in the program.

namespace platform {

// Installs the guard on the application (once; later calls do nothing).
void ignoreHeldKeyRepeats();

} // namespace platform
