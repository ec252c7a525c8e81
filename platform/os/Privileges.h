#pragma once
// Least privilege for the window program and its ICMP helper.

#include <cstddef>
#include <cstdint>

namespace platform {

// Gives up every capability this process holds or could regain: the
// bounding set where that is still allowed, then the ambient, inheritable,
// permitted and effective sets. True when no capability is left (always on
// Windows, which has no such sets).
bool dropAllCapabilities();

// Before anything else runs (no threads, no toolkit): where this user may not
// open the unprivileged ICMP socket, starts our ICMP helper from its fixed
// place beside this program's executable and keeps one end of a socket pair
// to it. Nothing happens elsewhere or when the helper is not installed.
void startIcmpHelperIfNeeded();

// The socket pair's end (Linux), -1 when no helper runs.
int icmpHelperChannel();

// Sends one request to the helper and takes its one reply into reply, waiting
// at most timeoutMs. Returns the reply's size; 0 when there is no helper, it
// has gone, or it did not answer in time.
std::size_t exchangeWithIcmpHelper(const std::uint8_t* request, std::size_t requestSize,
                                   std::uint8_t* reply, std::size_t replyCapacity, int timeoutMs);

} // namespace platform
