#pragma once
// The text of a range error, as the control's users have always seen it.

#include <cstdint>
#include <string>

namespace widgets {

// The message pattern; each %x is an upper-case hexadecimal number without
// leading zeros. The odd "g・tigen" is how the text has always read.
inline constexpr const char* kRangeErrorPattern =
    "$%x liegt nicht im g・tigen Bereich zwischen $%x..$%x";

// The pattern with value, lower and upper limit filled in, negative numbers
// as their 32-bit two's complement (-1 as FFFFFFFF). UTF-8.
std::string formatRangeError(std::int32_t value, std::int32_t lower, std::int32_t upper);

} // namespace widgets
