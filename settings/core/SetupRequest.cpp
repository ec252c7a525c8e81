// Builds the setup request into the fixed buffer, refusing one too long, and
// wipes the buffer after use.

#include "settings/core/SetupRequest.h"

#include "platform/core/SecureWipe.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

namespace settings {
namespace {

std::string_view untilZero(std::string_view text)
{
    const std::size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

} // namespace

void wipeSetupBuffer(char (&buffer)[kSetupBufferSize])
{
    platform::secureWipe(buffer, sizeof buffer);
}

std::optional<std::size_t> buildSetupRequest(const SetupRequestFields& fields,
                                             char (&buffer)[kSetupBufferSize])
{
    wipeSetupBuffer(buffer);

    // Separator before each piece; the identity and the address follow the
    // prefix and each other directly.
    const std::array<std::pair<std::string_view, std::string_view>, 10> pieces{{
        {{}, kSetupRequestPrefix},
        {{}, untilZero(fields.identity)},
        {{}, untilZero(fields.address)},
        {";", untilZero(fields.mask)},
        {";", untilZero(fields.gateway)},
        {";", untilZero(fields.hostName)},
        {";", untilZero(fields.hostAux)},
        {";", {}},
        {";", untilZero(fields.userName)},
        {";", untilZero(fields.password)},
    }};

    std::size_t length = 0;
    for (const auto& [separator, text] : pieces)
        length += separator.size() + text.size();
    if (length > kSetupBufferSize - 1)
        return std::nullopt;

    std::size_t at = 0;
    for (const auto& [separator, text] : pieces) {
        for (char c : separator)
            buffer[at++] = c;
        for (char c : text)
            buffer[at++] = c;
    }
    buffer[at] = '\0';
    return at;
}

} // namespace settings
