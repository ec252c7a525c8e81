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

// Whether this process still holds any capability (effective, permitted or
// inheritable); true when that cannot be read. Always false on Windows.
bool holdsAnyCapability();

// At the top of main: any of the descriptors 0, 1 and 2 found closed is
// opened on /dev/null, so that no socket or file opened later takes its
// number and receives what is meant for standard output or errors.
void openStandardDescriptors();

// Before anything else runs (no threads, no toolkit): where this user may not
// open the unprivileged ICMP socket, starts our ICMP helper from its fixed
// place beside this program's executable and keeps one end of a socket pair
// to it. The helper inherits descriptors 0 to 2 and its end of the pair as 3,
// nothing else; it is reaped whenever it ends. Nothing happens elsewhere or
// when the helper is not installed.
void startIcmpHelperIfNeeded();

// The socket pair's end (Linux), -1 when no helper runs.
int icmpHelperChannel();

// Sends one request to the helper and takes its one reply into reply, waiting
// at most timeoutMs. Returns the reply's size; 0 when there is no helper, it
// has gone, or it did not answer in time.
std::size_t exchangeWithIcmpHelper(const std::uint8_t* request, std::size_t requestSize,
                                   std::uint8_t* reply, std::size_t replyCapacity, int timeoutMs);

} // namespace platform
