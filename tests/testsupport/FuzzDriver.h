#pragma once
// What every fuzz driver shares: the entry point that libFuzzer, or the
// replay main of the ordinary builds (FuzzReplayMain.cpp), calls with one
// input, and the check that stops the run on a broken property.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {

// Aborts, so that libFuzzer keeps the input as a reproducer.
inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace fuzz
