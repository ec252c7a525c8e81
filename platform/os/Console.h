#pragma once
// The console a command-line program writes to. Its output is UTF-8 text; a
// Windows console shows the code page it is set to (932 on a Japanese PC),
// so for the program's life it is set to UTF-8 and then put back.

namespace platform {

class Utf8Console
{
public:
    Utf8Console();
    // Per OS: Windows puts the code page back here, Linux has nothing to do.
    ~Utf8Console(); // NOLINT(performance-trivially-destructible): not so on Windows
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;
    Utf8Console(Utf8Console&&) = delete;
    Utf8Console& operator=(Utf8Console&&) = delete;

private:
    [[maybe_unused]] unsigned m_previousCodePage = 0; // Windows; 0: nothing to put back
};

} // namespace platform
