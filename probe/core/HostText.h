#pragma once
// What the client's Host text names: the local machine, a literal address,
// or a name only a resolver can turn into an address.

#include <array>
#include <cstdint>
#include <string_view>

namespace probe {

using Ipv4Octets = std::array<std::uint8_t, 4>;

enum class HostKind
{
    Localhost,  // "LOCALHOST" in any letter case: 127.0.0.1
    DottedQuad, // four parts joined by ".", each a decimal number 0 to 255
    Name,       // anything else: needs a lookup
};

struct HostTarget
{
    HostKind kind = HostKind::Name;
    Ipv4Octets address{}; // for Localhost and DottedQuad
};

// A dotted quad is read by the strict rules (platform::parseDottedQuad):
// decimal, so "192.168.1.010" is .10, never the octal .8 that inet_addr()
// would make of it.
HostTarget classifyHost(std::string_view host);

} // namespace probe
