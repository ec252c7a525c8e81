// Any text as the kernel's routing table: every gateway found is a dotted
// quad of an interface the text names, and writing the result back as a
// well-formed table reads to the same result.

#include "platform/os/linux/RouteTable.h"
#include "tests/testsupport/FuzzDriver.h"

#include <arpa/inet.h>
#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto gateways = platform::defaultGateways(text);

    std::string table = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\n";
    for (const auto& [iface, gateway] : gateways) {
        fuzz::require(!iface.empty() && text.find(iface) != std::string::npos);
        in_addr address{};
        fuzz::require(inet_pton(AF_INET, gateway.c_str(), &address) == 1);
        char line[64];
        std::snprintf(line, sizeof line, "\t00000000\t%08X\t0003\t0\t0\t0\t00000000\t0\n",
                      address.s_addr);
        table += iface + line;
    }
    fuzz::require(platform::defaultGateways(table) == gateways);
    return 0;
}
