#pragma once
// Zero-terminated texts in fixed-size byte buffers. Every write keeps the
// terminating zero inside the buffer; every read stops at the buffer's end.

#include <cstddef>
#include <string_view>

namespace discovery {

// Copies at most N - 1 bytes of src (cut, never spilled) and terminates.
template <std::size_t N>
void copyText(char (&dst)[N], std::string_view src)
{
    static_assert(N > 0);
    const std::size_t n = src.size() < N - 1 ? src.size() : N - 1;
    for (std::size_t i = 0; i < n; ++i)
        dst[i] = src[i];
    for (std::size_t i = n; i < N; ++i)
        dst[i] = '\0';
}

// The text held in a buffer: up to its first zero byte, or the whole buffer.
template <std::size_t N>
std::string_view textOf(const char (&buf)[N])
{
    std::size_t n = 0;
    while (n < N && buf[n] != '\0')
        ++n;
    return {buf, n};
}

template <std::size_t N>
bool isEmptyText(const char (&buf)[N])
{
    return buf[0] == '\0';
}

} // namespace discovery
