#pragma once
// The PC's neighbour (ARP) table: whether a host on a directly attached
// network has recently shown its hardware address.

#include <string_view>

namespace platform {

// True when the table holds a resolved hardware address for the IPv4 address
// (dotted quad): the host answered an address resolution, recently or not, or
// the entry was set by hand. Unanswered and failed entries, an unreadable
// table and a text that is no address all give false.
bool neighbourResolved(std::string_view address);

} // namespace platform
