// Windows: VirtualLock for the secret buffers.

#include "platform/os/SecretMemory.h"

#include <windows.h>

namespace platform {

bool lockSecretMemory(void* data, std::size_t size)
{
    return VirtualLock(data, size) != 0;
}

void unlockSecretMemory(void* data, std::size_t size)
{
    VirtualUnlock(data, size);
}

void forbidProcessInspection()
{
    // Nothing to switch: Windows lets only our own user (and administrators)
    // open the process, which is what the Linux switch narrows down to.
}

} // namespace platform
