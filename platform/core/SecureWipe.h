#pragma once
// Overwrites memory that held a secret (a password on its way to a unit) in
// a way the optimiser keeps, even right before the memory is freed.

#include <cstddef>

namespace platform {

inline void secureWipe(void* data, std::size_t size)
{
    auto* bytes = static_cast<volatile unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = 0;
}

} // namespace platform
