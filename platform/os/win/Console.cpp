// Windows: the console switched to the UTF-8 code page for the program's life,
// and put back however the program ends.

#include "platform/os/Console.h"

#include <atomic>
#include <windows.h>

namespace platform {
namespace {

// The code page to put back, for the Ctrl+C handler too (it takes no
// context); 0: nothing to do.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): the handler's only way in
std::atomic<UINT> codePageToRestore{0};

void restoreCodePage()
{
    if (const UINT previous = codePageToRestore.exchange(0); previous != 0)
        SetConsoleOutputCP(previous);
}

// Ctrl+C, Ctrl+Break and the console's closing end the process without
// running destructors: the code page goes back here first, and the system's
// own handling (the end of the process) follows.
BOOL WINAPI onConsoleControl(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT)
        restoreCodePage();
    return FALSE;
}

} // namespace

Utf8Console::Utf8Console()
{
    // Only a real console has a code page; a pipe or a file takes the bytes.
    DWORD mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) == FALSE)
        return;
    const UINT previous = GetConsoleOutputCP();
    if (previous != CP_UTF8 && SetConsoleOutputCP(CP_UTF8) != FALSE) {
        m_previousCodePage = previous;
        codePageToRestore = previous;
        SetConsoleCtrlHandler(onConsoleControl, TRUE);
    }
}

Utf8Console::~Utf8Console()
{
    if (m_previousCodePage != 0) {
        SetConsoleCtrlHandler(onConsoleControl, FALSE);
        restoreCodePage();
    }
}

} // namespace platform
