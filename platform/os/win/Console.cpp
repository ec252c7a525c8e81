#include "platform/os/Console.h"

#include <windows.h>

namespace platform {

Utf8Console::Utf8Console()
{
    // Only a real console has a code page; a pipe or a file takes the bytes.
    DWORD mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) == FALSE)
        return;
    const UINT previous = GetConsoleOutputCP();
    if (previous != CP_UTF8 && SetConsoleOutputCP(CP_UTF8) != FALSE)
        m_previousCodePage = previous;
}

Utf8Console::~Utf8Console()
{
    if (m_previousCodePage != 0)
        SetConsoleOutputCP(m_previousCodePage);
}

} // namespace platform
