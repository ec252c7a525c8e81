// Before anything else runs: DLLs load from System32 only. The system DLLs
// the program imports that are not KnownDLLs are delay-loaded (see
// cmake/SystemDllsOnly.cmake), so they load after this, from System32, and
// a DLL of the same name beside the exe is never taken.

#include <windows.h>

namespace {

// Priority 101: before every C++ static initializer, Qt's included.
__attribute__((constructor(101))) void loadSystemDllsFromSystem32Only()
{
    if (SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) == 0)
        ExitProcess(ERROR_DLL_INIT_FAILED); // never run with the unsafe search order
}

} // namespace
