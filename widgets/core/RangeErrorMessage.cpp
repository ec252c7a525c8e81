// Fills the range error's pattern, each %x an argument in upper-case
// hexadecimal.

#include "widgets/core/RangeErrorMessage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace widgets {

namespace {

std::string upperHex(std::int32_t value)
{
    auto bits = static_cast<std::uint32_t>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789ABCDEF"[bits & 0xFU]);
        bits >>= 4;
    } while (bits != 0);
    return digits;
}

} // namespace

std::string formatRangeError(std::int32_t value, std::int32_t lower, std::int32_t upper)
{
    const std::array<std::int32_t, 3> arguments{value, lower, upper};
    const std::string_view pattern = kRangeErrorPattern;
    std::string text;
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 'x' &&
            next < arguments.size()) {
            text += upperHex(arguments[next++]);
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace widgets
