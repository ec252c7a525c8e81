// Windows: GetTickCount() and the process id.

#include "platform/os/Tick.h"

#include <windows.h>

namespace platform {

std::uint32_t tickCount()
{
    return static_cast<std::uint32_t>(GetTickCount());
}

std::uint32_t currentProcessId()
{
    return static_cast<std::uint32_t>(GetCurrentProcessId());
}

} // namespace platform
