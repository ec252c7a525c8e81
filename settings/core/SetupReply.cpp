// Compares a received buffer with the awaited reply and reads its verdict.

#include "settings/core/SetupReply.h"

#include "settings/core/SetupRequest.h"

#include <cstddef>
#include <string_view>

namespace settings {

bool isAwaitedSetupReply(const char (&buffer)[kSetupBufferSize], std::string_view identity)
{
    // The expected text, zero-terminated, as the prefix plus the identity
    // would be written into a text buffer.
    char expected[kMatchedPrefixLength + 1] = {};
    std::size_t length = 0;
    for (char c : kSetupReplyPrefix)
        expected[length++] = c;
    for (char c : identity) {
        if (c == '\0' || length == kMatchedPrefixLength)
            break;
        expected[length++] = c;
    }

    // Compare as zero-terminated texts over at most 22 bytes: both must hold
    // the same byte at each place, and a place where both end ends the match.
    for (std::size_t i = 0; i < kMatchedPrefixLength; ++i) {
        if (buffer[i] != expected[i])
            return false;
        if (buffer[i] == '\0')
            return true;
    }
    return true;
}

bool setupAccepted(const char (&buffer)[kSetupBufferSize])
{
    return buffer[kStatusByte] == kStatusAccepted;
}

} // namespace settings
