// Counts out the candidate addresses from the PC's address and mask.

#include "settings/core/FreeAddressCandidates.h"

#include "platform/core/DottedQuad.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace settings {
namespace {

// The last octet of a dotted quad read by the strict rules; -1 when the text
// is not one. The PC's values always are: they are written by the adapter list.
int lastOctet(std::string_view text)
{
    const std::optional<platform::Ipv4Address> address = platform::parseDottedQuad(text);
    return address ? (*address)[3] : -1;
}

} // namespace

std::vector<std::string> freeAddressCandidates(std::string_view pcAddress, std::string_view pcMask)
{
    std::vector<std::string> candidates;
    const std::size_t dot = pcAddress.rfind('.');
    if (dot == std::string_view::npos)
        return candidates;
    const std::string_view front = pcAddress.substr(0, dot + 1);

    // An unreadable mask octet leaves only the first candidate, as a mask of
    // all ones would; an unreadable PC octet puts the base at 0.
    const int m = lastOctet(pcMask) < 0 ? 255 : lastOctet(pcMask);
    const int pcOctet = lastOctet(pcAddress) < 0 ? 0 : lastOctet(pcAddress);
    const int base = pcOctet & m;

    for (int n = 1; n == 1 || n < 255 - m; ++n) {
        if (base + n > 255)
            break;
        std::string candidate(front);
        candidate += std::to_string(base + n);
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

} // namespace settings
