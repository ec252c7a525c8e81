// Linux: the monotonic clock in milliseconds, and getpid().

#include "platform/os/Tick.h"

#include <cstdint>
#include <ctime>
#include <unistd.h>

namespace platform {

std::uint32_t tickCount()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000U +
                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000U;
    return static_cast<std::uint32_t>(ms);
}

std::uint32_t currentProcessId()
{
    return static_cast<std::uint32_t>(getpid());
}

} // namespace platform
