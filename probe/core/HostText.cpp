#include "probe/core/HostText.h"

#include <cstddef>

namespace probe {

namespace {

bool isLocalhost(std::string_view host)
{
    constexpr std::string_view kLocalhost = "LOCALHOST";
    if (host.size() != kLocalhost.size())
        return false;
    for (std::size_t i = 0; i < host.size(); ++i) {
        char c = host[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != kLocalhost[i])
            return false;
    }
    return true;
}

// One part of a dotted quad: at least one digit, nothing else, at most 255.
bool readOctet(std::string_view part, std::uint8_t& octet)
{
    if (part.empty())
        return false;
    unsigned value = 0;
    for (const char c : part) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 255)
            return false;
    }
    octet = static_cast<std::uint8_t>(value);
    return true;
}

} // namespace

HostTarget classifyHost(std::string_view host)
{
    HostTarget target;
    if (isLocalhost(host)) {
        target.kind = HostKind::Localhost;
        target.address = {127, 0, 0, 1};
        return target;
    }
    Ipv4Octets octets{};
    std::size_t start = 0;
    for (std::size_t part = 0; part < 4; ++part) {
        const std::size_t dot = host.find('.', start);
        const bool last = part == 3;
        if (last != (dot == std::string_view::npos))
            return target; // fewer or more than four parts
        const std::size_t end = last ? host.size() : dot;
        if (!readOctet(host.substr(start, end - start), octets[part]))
            return target;
        start = end + 1;
    }
    target.kind = HostKind::DottedQuad;
    target.address = octets;
    return target;
}

} // namespace probe
