#pragma once
// An IPv4 address as the four bytes of its dotted quad, in that order.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

using Ipv4Address = std::array<std::uint8_t, 4>;

inline constexpr Ipv4Address kAnyAddress{0, 0, 0, 0};
inline constexpr Ipv4Address kLoopbackAddress{127, 0, 0, 1};
inline constexpr Ipv4Address kLimitedBroadcast{255, 255, 255, 255};

// Exactly four decimal parts of 0..255, as the system's adapter lists write
// them; anything else is nullopt.
constexpr std::optional<Ipv4Address> parseDottedQuad(std::string_view text)
{
    Ipv4Address address{};
    std::size_t part = 0;
    int value = -1; // -1: no digit yet in this part
    for (const char c : text) {
        if (c == '.') {
            if (value < 0 || part == 3)
                return std::nullopt;
            address.at(part++) = static_cast<std::uint8_t>(value);
            value = -1;
        } else if (c >= '0' && c <= '9') {
            value = (value < 0 ? 0 : value * 10) + (c - '0');
            if (value > 255)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (value < 0 || part != 3)
        return std::nullopt;
    address.at(part) = static_cast<std::uint8_t>(value);
    return address;
}

} // namespace platform
