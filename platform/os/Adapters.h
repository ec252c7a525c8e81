#pragma once
// The PC's network adapters as the local network check needs them.

#include <optional>
#include <string>
#include <vector>

namespace platform {

struct Adapter
{
    std::string name;    // interface name, for messages and socket binding
    bool up = false;     // administratively up
    std::string address; // first IPv4 address, dotted quad ("0.0.0.0" when none)
    std::string mask;    // that address's mask ("0.0.0.0" when none)
    std::string gateway; // first default gateway through this adapter ("0.0.0.0" when none)
    unsigned index = 0;  // the system's index, as a datagram's arrival names the adapter
};

// True when a datagram sent from the adapter's address leaves through it: the
// adapter is up, linked and has an address.
inline bool canSend(const Adapter& adapter)
{
    return adapter.up && !adapter.address.empty() && adapter.address != "0.0.0.0";
}

// Every adapter except loopback, in a stable order (on Linux the interface
// index, on Windows the system's own list order). An adapter that is down or
// disconnected (no link: its cable out, no carrier) shows "0.0.0.0" for all
// three. nullopt when the list cannot be read or there is no adapter at all.
std::optional<std::vector<Adapter>> adapters();

} // namespace platform
