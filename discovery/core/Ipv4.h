#pragma once
// Dotted-quad text to a 32-bit IPv4 value, the way the classic sockets
// inet_addr() reads it, without any socket library.

#include <cstdint>
#include <string>
#include <string_view>

namespace discovery {

// All ones: what inet_addr() returns for a text it cannot read.
inline constexpr std::uint32_t kInaddrNone = 0xFFFFFFFFU;

// Reads "a.b.c.d" (also "a.b.c", "a.b", "a"; each part decimal, 0-octal or
// 0x-hexadecimal; trailing white space allowed). The result is in network
// byte order as stored in memory, exactly as inet_addr() gives it; a text
// that is not an address gives kInaddrNone.
std::uint32_t inetAddr(std::string_view text);

// Converts between that memory order and a host-order number (a << 24 | ...).
std::uint32_t networkToHost(std::uint32_t networkOrder);
std::uint32_t hostToNetwork(std::uint32_t hostOrder);

// "a.b.c.d" of a value in network byte order.
std::string dottedQuad(std::uint32_t networkOrder);

// The address a text names as inetAddr() reads it, written as four decimal
// numbers: what is shown to other programs, so that they reach the host the
// subnet check judged. Empty for a text that reads as kInaddrNone.
std::string canonicalAddress(std::string_view text);

} // namespace discovery
