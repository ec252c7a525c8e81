// The three readers of dotted-quad text and its writer, with inet_addr()'s
// parts (decimal, octal, hexadecimal; one to four of them) read by hand so
// that no locale or C library decides.

#include "platform/core/DottedQuad.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

namespace {

// White space as C's isspace() has it in the "C" locale.
bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

int digitValue(char c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

} // namespace

std::uint32_t networkToHost(std::uint32_t networkOrder)
{
    const auto* b = reinterpret_cast<const unsigned char*>(&networkOrder);
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) |
           std::uint32_t{b[3]};
}

std::uint32_t hostToNetwork(std::uint32_t hostOrder)
{
    std::uint32_t v = 0;
    auto* b = reinterpret_cast<unsigned char*>(&v);
    b[0] = static_cast<unsigned char>(hostOrder >> 24);
    b[1] = static_cast<unsigned char>(hostOrder >> 16);
    b[2] = static_cast<unsigned char>(hostOrder >> 8);
    b[3] = static_cast<unsigned char>(hostOrder);
    return v;
}

namespace {

constexpr std::uint64_t kAllOnes32 = 0xFFFFFFFFULL;

// One part at text[i] (decimal, 0-octal or 0x-hexadecimal), moving i past it;
// nullopt when no digit starts it or it exceeds 32 bits.
std::optional<std::uint64_t> readPart(std::string_view text, std::size_t& i)
{
    if (i >= text.size() || digitValue(text[i], 10) < 0)
        return std::nullopt; // every part starts with a digit
    int base = 10;
    if (text[i] == '0') {
        base = 8;
        ++i;
        if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
            base = 16;
            ++i;
        }
    }
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0)
            break;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (value > kAllOnes32)
            return std::nullopt;
    }
    return value;
}

// The host-order value of 1 to 4 parts: the last part fills the bytes the
// others leave, as inet_addr() has it; nullopt when a part is too wide.
std::optional<std::uint64_t> combineParts(const std::array<std::uint64_t, 4>& parts,
                                          std::size_t count)
{
    switch (count) {
    case 1:
        return parts[0];
    case 2:
        if (parts[0] > 0xFF || parts[1] > 0xFFFFFF)
            return std::nullopt;
        return (parts[0] << 24) | parts[1];
    case 3:
        if (parts[0] > 0xFF || parts[1] > 0xFF || parts[2] > 0xFFFF)
            return std::nullopt;
        return (parts[0] << 24) | (parts[1] << 16) | parts[2];
    default:
        for (std::size_t k = 0; k < 4; ++k)
            if (parts[k] > 0xFF)
                return std::nullopt;
        return (parts[0] << 24) | (parts[1] << 16) | (parts[2] << 8) | parts[3];
    }
}

} // namespace

std::uint32_t inetAddr(std::string_view text)
{
    std::array<std::uint64_t, 4> parts{};
    std::size_t count = 0;
    std::size_t i = 0;
    if (text.empty())
        return kInaddrNone;

    for (;;) {
        const std::optional<std::uint64_t> part = readPart(text, i);
        if (!part || count >= parts.size())
            return kInaddrNone;
        parts[count++] = *part;
        if (i >= text.size() || text[i] != '.')
            break;
        ++i;
    }
    for (; i < text.size(); ++i)
        if (!isSpace(text[i]))
            return kInaddrNone;

    const std::optional<std::uint64_t> host = combineParts(parts, count);
    if (!host)
        return kInaddrNone;
    return hostToNetwork(static_cast<std::uint32_t>(*host));
}

std::string canonicalAddress(std::string_view text)
{
    const std::uint32_t value = inetAddr(text);
    return value == kInaddrNone ? std::string() : dottedQuad(value);
}

namespace {

// One "%d" conversion at p: blanks, an optional sign, decimal digits; moves p
// past them. nullopt when no digit follows or the number does not fit a 32-bit
// int.
std::optional<long long> scanInt(const char*& p)
{
    while (isSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    if (*p < '0' || *p > '9')
        return std::nullopt;
    long long value = 0;
    bool tooBig = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (tooBig)
            continue;
        value = value * 10 + (*p - '0');
        tooBig = value > 2147483648LL;
    }
    if (negative)
        value = -value;
    if (tooBig || value > 2147483647LL || value < -2147483648LL)
        return std::nullopt;
    return value;
}

} // namespace

ScannedQuad scanDottedQuad(const char* text)
{
    ScannedQuad octets{-1, -1, -1, -1};
    if (!text)
        return octets;
    const char* p = text;
    for (std::size_t k = 0; k < octets.size(); ++k) {
        if (k > 0) {
            if (*p != '.')
                break;
            ++p;
        }
        const std::optional<long long> value = scanInt(p);
        if (!value)
            break;
        octets[k] = *value;
    }
    return octets;
}

std::string dottedQuad(const Ipv4Address& address)
{
    return std::to_string(address[0]) + '.' + std::to_string(address[1]) + '.' +
           std::to_string(address[2]) + '.' + std::to_string(address[3]);
}

std::string dottedQuad(std::uint32_t networkOrder)
{
    const std::uint32_t h = networkToHost(networkOrder);
    return dottedQuad(Ipv4Address{static_cast<std::uint8_t>(h >> 24),
                                  static_cast<std::uint8_t>(h >> 16),
                                  static_cast<std::uint8_t>(h >> 8), static_cast<std::uint8_t>(h)});
}

} // namespace platform
