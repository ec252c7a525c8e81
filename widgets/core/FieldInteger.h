#pragma once
// Reading one part of a dotted address written by the program.

#include <cstdint>
#include <optional>
#include <string_view>

namespace widgets {

// Leading blanks are skipped; then either an optional "+" or "-" and decimal
// digits (signed 32-bit range), or a "$", "x", "X", "0x" or "0X" prefix and at
// most eight hexadecimal digits (taken as the 32-bit pattern, so "$FFFFFFFF"
// is -1). Anything else, a trailing blank included, gives no value.
std::optional<std::int32_t> parseFieldInteger(std::string_view text);

} // namespace widgets
