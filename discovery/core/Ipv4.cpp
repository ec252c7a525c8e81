#include "discovery/core/Ipv4.h"

#include <array>

namespace discovery {
namespace {

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

std::uint32_t networkToHost(std::uint32_t v)
{
    const auto* b = reinterpret_cast<const unsigned char*>(&v);
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) |
           std::uint32_t{b[3]};
}

std::uint32_t hostToNetwork(std::uint32_t h)
{
    std::uint32_t v = 0;
    auto* b = reinterpret_cast<unsigned char*>(&v);
    b[0] = static_cast<unsigned char>(h >> 24);
    b[1] = static_cast<unsigned char>(h >> 16);
    b[2] = static_cast<unsigned char>(h >> 8);
    b[3] = static_cast<unsigned char>(h);
    return v;
}

std::string dottedQuad(std::uint32_t networkOrder)
{
    const std::uint32_t h = networkToHost(networkOrder);
    return std::to_string(h >> 24) + '.' + std::to_string((h >> 16) & 0xFF) + '.' +
           std::to_string((h >> 8) & 0xFF) + '.' + std::to_string(h & 0xFF);
}

std::uint32_t inetAddr(std::string_view text)
{
    std::array<std::uint64_t, 4> parts{};
    std::size_t count = 0;
    std::size_t i = 0;
    if (text.empty())
        return kInaddrNone;

    for (;;) {
        if (i >= text.size() || digitValue(text[i], 10) < 0)
            return kInaddrNone; // every part starts with a digit
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
        while (i < text.size()) {
            const int d = digitValue(text[i], base);
            if (d < 0)
                break;
            value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
            if (value > 0xFFFFFFFFull)
                return kInaddrNone;
            ++i;
        }
        if (count >= parts.size())
            return kInaddrNone;
        parts[count++] = value;
        if (i < text.size() && text[i] == '.') {
            ++i;
            continue;
        }
        break;
    }
    for (; i < text.size(); ++i)
        if (!isSpace(text[i]))
            return kInaddrNone;

    std::uint64_t host = 0;
    switch (count) {
    case 1:
        host = parts[0];
        break;
    case 2:
        if (parts[0] > 0xFF || parts[1] > 0xFFFFFF)
            return kInaddrNone;
        host = (parts[0] << 24) | parts[1];
        break;
    case 3:
        if (parts[0] > 0xFF || parts[1] > 0xFF || parts[2] > 0xFFFF)
            return kInaddrNone;
        host = (parts[0] << 24) | (parts[1] << 16) | parts[2];
        break;
    default:
        for (std::size_t k = 0; k < 4; ++k)
            if (parts[k] > 0xFF)
                return kInaddrNone;
        host = (parts[0] << 24) | (parts[1] << 16) | (parts[2] << 8) | parts[3];
        break;
    }
    return hostToNetwork(static_cast<std::uint32_t>(host));
}

} // namespace discovery
