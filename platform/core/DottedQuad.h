#pragma once
// Dotted-quad text ("192.168.1.20"): the program's one home for reading and
// writing it. Three readers, each named for its rule, because the program
// needs all three and they disagree on the same text:
//
//   inetAddr()        the classic sockets inet_addr(): 1 to 4 parts, each
//                     decimal, 0-octal or 0x-hexadecimal, trailing white
//                     space allowed. What the units' and the PC's addresses
//                     are compared by ("010" is 8).
//   scanDottedQuad()  a C scan with the pattern "%d.%d.%d.%d": each number
//                     may follow blanks and a sign, reading stops at the
//                     first mismatch and ignores what follows. What the
//                     address-set check validates by ("010" is 10).
//   parseDottedQuad() strict: exactly four parts of decimal digits, each 0 to
//                     255, nothing before, between or after. For every text
//                     that is handed on to the OS or another program ("010"
//                     is 10; " 1.2.3.4" is nothing).
//
// Standard library only, so that every core and every platform layer can use it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// An IPv4 address as the four bytes of its dotted quad, in that order.
using Ipv4Address = std::array<std::uint8_t, 4>;

// --- inet_addr() rules ------------------------------------------------------

// All ones: what inet_addr() returns for a text it cannot read.
inline constexpr std::uint32_t kInaddrNone = 0xFFFFFFFFU;

// Reads "a.b.c.d" (also "a.b.c", "a.b", "a", the last part filling the bytes
// the others leave). The result is in network byte order as stored in
// memory, exactly as inet_addr() gives it; a text that is not an address
// gives kInaddrNone.
std::uint32_t inetAddr(std::string_view text);

// Converts between that memory order and a host-order number (a << 24 | ...).
std::uint32_t networkToHost(std::uint32_t networkOrder);
std::uint32_t hostToNetwork(std::uint32_t hostOrder);

// The address a text names as inetAddr() reads it, written as four decimal
// numbers: what is shown to other programs, so that they reach the host the
// subnet check judged. Empty for a text that reads as kInaddrNone.
std::string canonicalAddress(std::string_view text);

// --- "%d.%d.%d.%d" rules ----------------------------------------------------

// The four numbers as the scan reads them; -1 for each one it does not
// reach (so a text that is all there reads as four values, and -1 itself
// cannot be told from a missing number, as with the scan). A number that
// does not fit a 32-bit int stops the reading there. nullptr reads as "".
using ScannedQuad = std::array<long long, 4>;
ScannedQuad scanDottedQuad(const char* text);

// --- strict rules -----------------------------------------------------------

// Exactly four parts of one or more decimal digits, each 0 to 255 (leading
// zeros are decimal), joined by single "."; anything else is nullopt.
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

// --- writing ----------------------------------------------------------------

// "a.b.c.d", each part in plain decimal.
std::string dottedQuad(std::uint32_t networkOrder);
std::string dottedQuad(const Ipv4Address& address);

} // namespace platform
