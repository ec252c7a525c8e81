// Classifying the Host text: localhost names, strict dotted quads, the rest a
// name to resolve.

#include "probe/core/HostText.h"

#include "platform/core/DottedQuad.h"

#include <cstddef>
#include <optional>
#include <string_view>

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

} // namespace

HostTarget classifyHost(std::string_view host)
{
    HostTarget target;
    if (isLocalhost(host)) {
        target.kind = HostKind::Localhost;
        target.address = {127, 0, 0, 1};
        return target;
    }
    const std::optional<Ipv4Octets> octets = platform::parseDottedQuad(host);
    if (!octets)
        return target;
    target.kind = HostKind::DottedQuad;
    target.address = *octets;
    return target;
}

} // namespace probe
