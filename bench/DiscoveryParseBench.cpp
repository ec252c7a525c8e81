// How long one reply datagram takes to handle, for the three kinds a scan
// sees under load: new units, repeats of known units (the duplicate search
// walks the whole table), and junk.

#include "discovery/core/DeviceTable.h"
#include "discovery/core/DiscoveryReply.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace discovery;

namespace {

std::string reply(int unit)
{
    char id[32];
    std::snprintf(id, sizeof id, "00:11:22:33:%02X:%02X", (unit >> 8) & 0xFF, unit & 0xFF);
    return std::string("0C01R") + id +
           "'192.168.1.20''255.255.255.0''192.168.1.1''nas-unit''aux''x''WDC WD800'"
           "'5''78150744''39075372'";
}

template <typename F>
double nsPerCall(int calls, F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        f(i);
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::nano>(end - start).count() / calls;
}

} // namespace

int main()
{
    auto table = std::make_unique<DeviceTable>();
    std::vector<std::string> units;
    for (int i = 0; i < kMaxRecords; ++i)
        units.push_back(reply(i));
    const std::string junk(300, 'x');
    unsigned char buffer[kReceiveBufferSize];
    const auto parse = [&](const std::string& d) {
        std::memset(buffer, 0, sizeof buffer);
        const std::size_t n = d.size() < sizeof buffer ? d.size() : sizeof buffer;
        std::memcpy(buffer, d.data(), n);
        return ParseDiscoveryReply(buffer, d.size(), *table, "255.255.255.0");
    };

    const int rounds = 2000;
    const double fresh = nsPerCall(rounds * kMaxRecords, [&](int i) {
        if (i % kMaxRecords == 0)
            ClearDeviceTable(*table);
        parse(units[static_cast<std::size_t>(i % kMaxRecords)]);
    });
    const double repeat = nsPerCall(
        200000, [&](int i) { parse(units[static_cast<std::size_t>(kMaxRecords - 1 - i % 7)]); });
    const double other = nsPerCall(200000, [&](int) { parse(junk); });

    std::printf("discovery reply handling (ns per datagram, table of %d):\n", kMaxRecords);
    std::printf("  new unit           %8.1f\n", fresh);
    std::printf("  repeat, full table %8.1f\n", repeat);
    std::printf("  junk               %8.1f\n", other);
    std::printf("  => 10000 datagrams in a scan cost at most %.1f ms of parsing\n",
                10000 * std::max(fresh, std::max(repeat, other)) / 1e6);
    return 0;
}
