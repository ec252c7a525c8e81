// Linux: each adapter's default gateway, read from /proc/net/route.

#include "platform/os/linux/RouteTable.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <net/route.h>
#include <netinet/in.h>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>
#include <utility>
#include <vector>

// Plain reads and strtoul rather than iostreams: this runs at start-up, and
// the stream and locale machinery would be loaded for this one table.

namespace platform {
namespace {

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            out.push_back(line.substr(start, i - start));
    }
    return out;
}

bool hex(std::string_view field, unsigned long& value)
{
    const std::string text(field);
    char* end = nullptr;
    value = std::strtoul(text.c_str(), &end, 16);
    return !text.empty() && *end == '\0';
}

} // namespace

std::map<std::string, std::string> defaultGateways(std::string_view table)
{
    // Columns: Iface Destination Gateway Flags RefCnt Use Metric Mask ...
    std::map<std::string, std::string> gateways;
    bool header = true;
    while (!table.empty()) {
        const std::size_t end = table.find('\n');
        const std::string_view line = table.substr(0, end);
        table = end == std::string_view::npos ? std::string_view() : table.substr(end + 1);
        if (std::exchange(header, false))
            continue;
        const std::vector<std::string_view> f = fields(line);
        unsigned long destination = 0;
        unsigned long gateway = 0;
        unsigned long flags = 0;
        unsigned long mask = 0;
        if (f.size() < 8 || !hex(f[1], destination) || !hex(f[2], gateway) || !hex(f[3], flags) ||
            !hex(f[7], mask))
            continue;
        if (destination != 0 || mask != 0 || (flags & RTF_UP) == 0 || (flags & RTF_GATEWAY) == 0)
            continue;
        const std::string iface(f[0]);
        if (gateways.contains(iface))
            continue;
        in_addr addr{};
        addr.s_addr = static_cast<in_addr_t>(gateway); // already in network order
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &addr, text, sizeof text))
            gateways.emplace(iface, text);
    }
    return gateways;
}

std::string readRouteTable()
{
    std::string text;
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): open(2) is declared variadic for its mode
    const int fd = ::open("/proc/net/route", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, std::size_t(n));
    }
    ::close(fd);
    return text;
}

} // namespace platform
