// Reads a field's text, decimal or hexadecimal, within 32 bits.

#include "widgets/core/FieldInteger.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace widgets {

namespace {

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::int32_t> readHex(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        const int d = hexDigitValue(c);
        if (d < 0)
            return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> readDecimal(std::string_view digits, bool negative)
{
    if (digits.empty())
        return std::nullopt;
    // Accumulated as a magnitude in 64 bits; stopping at the first value past
    // 2^31 keeps any number of digits from overflowing.
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit)
            return std::nullopt;
    }
    if (!negative && magnitude == kLimit)
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace

std::optional<std::int32_t> parseFieldInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::string_view rest = text.substr(i);
    if (rest.empty())
        return std::nullopt;

    if (rest.front() == '$' || rest.front() == 'x' || rest.front() == 'X')
        return readHex(rest.substr(1));
    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
        return readHex(rest.substr(2));
    if (rest.front() == '+' || rest.front() == '-')
        return readDecimal(rest.substr(1), rest.front() == '-');
    return readDecimal(rest, false);
}

} // namespace widgets
