#pragma once
// Record fields as display text: the bytes a unit sent, decoded from CP932.

#include <QString>
#include <cstddef>

namespace discovery {

// Decodes a fixed-size field up to its terminating zero (or its end).
template <std::size_t N>
QString fieldText(const char (&field)[N]);

QString fieldTextOf(const char* field, std::size_t capacity);

template <std::size_t N>
QString fieldText(const char (&field)[N])
{
    return fieldTextOf(field, N);
}

} // namespace discovery
