#include "settings/core/FreeAddressCandidates.h"

namespace settings {
namespace {

// The decimal number after the last "." (the whole text when there is none),
// blanks around it allowed; -1 when it is not a number from 0 to 255.
int lastOctet(std::string_view text)
{
    const std::size_t dot = text.rfind('.');
    std::string_view part = dot == std::string_view::npos ? text : text.substr(dot + 1);
    while (!part.empty() && part.front() == ' ')
        part.remove_prefix(1);
    while (!part.empty() && part.back() == ' ')
        part.remove_suffix(1);
    if (part.empty() || part.size() > 3)
        return -1;
    int value = 0;
    for (char c : part) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value <= 255 ? value : -1;
}

} // namespace

std::vector<std::string> FreeAddressCandidates(std::string_view pcAddress, std::string_view pcMask)
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
