#pragma once
// The setup request a unit accepts new network settings from: "0C02S", the
// unit's identity, then address, mask, gateway, the two host values, an empty
// value, user name and password joined by ";". Sent without a terminating zero.

#include <cstddef>
#include <optional>
#include <string_view>

namespace settings {

inline constexpr std::size_t kSetupBufferSize = 1024;
inline constexpr std::string_view kSetupRequestPrefix = "0C02S";

// Every field is taken up to its first zero byte, as a C text would be. Texts
// are the bytes that go on the wire (CP932), unescaped.
struct SetupRequestFields
{
    std::string_view identity;
    std::string_view address;
    std::string_view mask;
    std::string_view gateway;
    std::string_view hostName;
    std::string_view hostAux;
    std::string_view userName;
    std::string_view password;
};

// Writes the request and a terminating zero into buffer and returns the
// request's length. A request that needs more than kSetupBufferSize - 1 bytes
// is refused whole: nullopt, and the buffer is left all zero. Nothing is cut.
std::optional<std::size_t> buildSetupRequest(const SetupRequestFields& fields,
                                             char (&buffer)[kSetupBufferSize]);

// Overwrites the buffer with the program's one wipe (it held a password).
void wipeSetupBuffer(char (&buffer)[kSetupBufferSize]);

} // namespace settings
