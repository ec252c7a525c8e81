#pragma once
// Recognising the awaited setup reply: "0C02R", then the chosen unit's
// identity; byte 22 tells whether the unit accepted ("2") or not.

#include "settings/core/SetupRequest.h"

#include <cstddef>
#include <string_view>

namespace settings {

inline constexpr std::string_view kSetupReplyPrefix = "0C02R";
inline constexpr std::size_t kMatchedPrefixLength = 22;
inline constexpr std::size_t kStatusByte = 22;
inline constexpr char kStatusAccepted = '2';

// True when the zero-terminated text in buffer equals "0C02R" followed by the
// identity (taken up to its first zero byte), compared as C texts over at most
// kMatchedPrefixLength bytes. The buffer holds the received datagram followed
// by zeros.
bool isAwaitedSetupReply(const char (&buffer)[kSetupBufferSize], std::string_view identity);

// The unit accepted the settings: byte 22 of the reply is "2".
bool setupAccepted(const char (&buffer)[kSetupBufferSize]);

} // namespace settings
