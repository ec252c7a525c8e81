#include "discovery/core/AddressSet.h"

#include "discovery/core/Ipv4.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace discovery {
namespace {

using Octets = std::array<long long, 4>;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// One "%d" conversion at p: blanks, an optional sign, decimal digits; moves p
// past them. nullopt when no digit follows or the number does not fit a 32-bit
// int.
std::optional<long long> scanInt(const char*& p)
{
    while (isBlank(*p))
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

// Reads the text as the scan pattern "%d.%d.%d.%d" does: each number may be
// preceded by blanks and a sign; a literal "." must follow each of the first
// three. Octets the text does not supply stay -1; so does a number that does
// not fit a 32-bit int, and reading stops there.
Octets scanOctets(const char* text)
{
    Octets octets{-1, -1, -1, -1};
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

bool anyMissing(const Octets& o)
{
    return std::ranges::any_of(o, [](long long v) { return v == -1; });
}

bool isMaskOctet(long long v)
{
    switch (v) {
    case 0:
    case 128:
    case 192:
    case 224:
    case 240:
    case 248:
    case 252:
    case 254:
    case 255:
        return true;
    default:
        return false;
    }
}

} // namespace

int CheckAddressSet(const char* address, const char* mask, const char* gateway)
{
    const Octets a = scanOctets(address);
    if (anyMissing(a))
        return AddressSetBadAddress;
    if (a[0] <= 0 || a[0] > 224 || a[0] == 127)
        return AddressSetBadAddress;
    if (a[3] == 0 || a[3] == 255)
        return AddressSetBadAddress;

    const Octets m = scanOctets(mask);
    if (anyMissing(m))
        return AddressSetBadMask;
    if (m[0] == 0 || !isMaskOctet(m[0]))
        return AddressSetBadMask;
    for (std::size_t i = 1; i < 4; ++i) {
        if (!isMaskOctet(m[i]))
            return AddressSetBadMask;
        if (m[i] != 0 && m[i - 1] != 255)
            return AddressSetBadMask;
    }

    const Octets g = scanOctets(gateway);
    if (anyMissing(g))
        return AddressSetBadGateway;

    const auto text = [](const char* s) { return s ? std::string_view(s) : std::string_view(); };
    const std::uint32_t addr = inetAddr(text(address));
    const std::uint32_t msk = inetAddr(text(mask));
    const std::uint32_t gw = inetAddr(text(gateway));
    if ((addr & msk) != (gw & msk))
        return AddressSetBadGateway;
    return AddressSetOk;
}

} // namespace discovery
