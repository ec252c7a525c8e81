// Feeds arbitrary bytes to the setup reply matcher (as a received datagram)
// and to the request builder (split into its eight fields at "|"), checking
// that neither reads or writes outside its buffer and that the builder's
// promises hold.

#include "settings/core/SetupReply.h"
#include "settings/core/SetupRequest.h"
#include "tests/testsupport/FuzzDriver.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), data ? size : 0);

    // The reply: the datagram lands in a zeroed buffer, cut at its size.
    char reply[settings::kSetupBufferSize] = {};
    const std::size_t copied = std::min(input.size(), settings::kSetupBufferSize);
    if (copied > 0)
        std::memcpy(reply, input.data(), copied);
    const std::string_view identity = input.substr(0, std::min<std::size_t>(input.size(), 17));
    if (settings::isAwaitedSetupReply(reply, identity))
        (void)settings::setupAccepted(reply);

    // The request: eight fields separated by "|".
    std::array<std::string_view, 8> parts{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < parts.size() && start <= input.size(); ++i) {
        const std::size_t bar = input.find('|', start);
        const std::size_t end = bar == std::string_view::npos ? input.size() : bar;
        parts[i] = input.substr(start, end - start);
        start = end + 1;
    }
    settings::SetupRequestFields fields{parts[0], parts[1], parts[2], parts[3],
                                        parts[4], parts[5], parts[6], parts[7]};
    char request[settings::kSetupBufferSize];
    const auto length = settings::buildSetupRequest(fields, request);
    if (length) {
        if (*length >= settings::kSetupBufferSize || request[*length] != '\0')
            std::abort();
        if (std::memcmp(request, "0C02S", 5) != 0)
            std::abort();
    } else {
        for (char c : request)
            if (c != '\0')
                std::abort();
    }
    return 0;
}
