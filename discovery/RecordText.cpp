// A record's fixed-size field, up to its terminating zero, decoded from CP932.

#include "discovery/RecordText.h"

#include "platform/net/Cp932.h"

#include <cstddef>

namespace discovery {

QString fieldTextOf(const char* field, std::size_t capacity)
{
    std::size_t n = 0;
    while (n < capacity && field[n] != '\0')
        ++n;
    return platform::cp932::decode(QByteArrayView(field, static_cast<qsizetype>(n)));
}

} // namespace discovery
