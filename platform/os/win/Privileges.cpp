// Windows: the echo call needs no rights, so there is nothing to drop and no
// helper; the functions answer accordingly.

#include "platform/os/Privileges.h"

namespace platform {

// The echo call of the IP Helper needs no rights: there is nothing to drop
// and no helper to start.
bool dropAllCapabilities()
{
    return true;
}

bool holdsAnyCapability()
{
    return false;
}

// A Windows program's standard handles are not numbered descriptors that a
// socket could take over.
void openStandardDescriptors() {}

void startIcmpHelperIfNeeded() {}

int icmpHelperChannel()
{
    return -1;
}

std::size_t exchangeWithIcmpHelper(const std::uint8_t* /*request*/, std::size_t /*requestSize*/,
                                   std::uint8_t* /*reply*/, std::size_t /*replyCapacity*/,
                                   int /*timeoutMs*/)
{
    return 0;
}

} // namespace platform
