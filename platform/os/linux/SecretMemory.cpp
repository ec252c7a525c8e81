// Linux: mlock for the secret buffers, and no core file or inspection of the
// process by others.

#include "platform/os/SecretMemory.h"

#include <cstddef>
#include <sys/mman.h>
#include <sys/prctl.h>

namespace platform {

bool lockSecretMemory(void* data, std::size_t size)
{
    return ::mlock(data, size) == 0;
}

void unlockSecretMemory(void* data, std::size_t size)
{
    ::munlock(data, size);
}

void forbidProcessInspection()
{
    // Also no core file, and /proc/<pid>/mem and ptrace need privilege.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): prctl(2) is declared variadic
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

} // namespace platform
