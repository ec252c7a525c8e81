// Linux: the console needs no code page.

#include "platform/os/Console.h"

namespace platform {

// A terminal takes the bytes as they come: nothing to set.
Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

} // namespace platform
