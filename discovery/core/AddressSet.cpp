// The address-set check in its order: the address (its class and host
// part), then the mask (contiguous ones), then the gateway, which must lie in
// the address's network.

#include "discovery/core/AddressSet.h"

#include "platform/core/DottedQuad.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace discovery {
namespace {

using Octets = platform::ScannedQuad;

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
    const Octets a = platform::scanDottedQuad(address);
    if (anyMissing(a))
        return AddressSetBadAddress;
    if (a[0] <= 0 || a[0] > 224 || a[0] == 127)
        return AddressSetBadAddress;
    if (a[3] == 0 || a[3] == 255)
        return AddressSetBadAddress;

    const Octets m = platform::scanDottedQuad(mask);
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

    const Octets g = platform::scanDottedQuad(gateway);
    if (anyMissing(g))
        return AddressSetBadGateway;

    const auto text = [](const char* s) { return s ? std::string_view(s) : std::string_view(); };
    const std::uint32_t addr = platform::inetAddr(text(address));
    const std::uint32_t msk = platform::inetAddr(text(mask));
    const std::uint32_t gw = platform::inetAddr(text(gateway));
    if ((addr & msk) != (gw & msk))
        return AddressSetBadGateway;
    return AddressSetOk;
}

} // namespace discovery
