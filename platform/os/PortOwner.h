#pragma once
// Who holds a UDP port on this PC, as far as the system tells this process:
// for a message that names the program in the way.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct PortOwner
{
    std::string user;    // the account's name (or number); empty: not told
    std::string program; // the program's name; empty: not told (often another user's)
};

// The holder of a UDP/IPv4 port bound on any of the PC's addresses; nullopt
// when no socket holds it or the system tells nothing. Both texts come from
// other processes: show them as plain text, bounded (messages' ownerLine).
std::optional<PortOwner> udpPortOwner(std::uint16_t port);

} // namespace platform
