#pragma once
// Millisecond tick and process id, as the echo client and timing code need them.

#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary fixed point (boot); wraps after 49.7 days.
std::uint32_t tickCount();

std::uint32_t currentProcessId();

} // namespace platform
