// Whole datagrams into one device table: the table must stay within its
// slots and every record field must stay a terminated text.

#include "discovery/core/DeviceTable.h"
#include "discovery/core/DiscoveryReply.h"
#include "tests/testsupport/FuzzDriver.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

template <std::size_t N>
void checkTerminated(const char (&field)[N])
{
    if (std::memchr(field, 0, N) == nullptr)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static discovery::DeviceTable table{};
    static int calls = 0;
    if (++calls % 200 == 0)
        discovery::ClearDeviceTable(table); // a new scan now and then

    // The input may hold several datagrams separated by "\n--\n".
    std::size_t start = 0;
    while (start <= size) {
        std::size_t end = start;
        while (end + 4 <= size && std::memcmp(data + end, "\n--\n", 4) != 0)
            ++end;
        if (end + 4 > size)
            end = size;
        unsigned char buffer[discovery::kReceiveBufferSize] = {};
        const std::size_t n = end - start < sizeof buffer ? end - start : sizeof buffer;
        if (n > 0)
            std::memcpy(buffer, data + start, n);
        discovery::ParseDiscoveryReply(buffer, end - start, table, "255.255.255.0");
        start = end + 4;
    }

    if (table.DeviceCount < 0 || table.DeviceCount > discovery::kMaxRecords)
        std::abort();
    for (int i = 1; i <= table.DeviceCount; ++i) {
        const discovery::DeviceRecord& r = table.slot[i];
        checkTerminated(r.MacAddress);
        checkTerminated(r.IpAddress);
        checkTerminated(r.SubnetMask);
        checkTerminated(r.GatewayAddress);
        checkTerminated(r.HostName);
        checkTerminated(r.HostAux);
        checkTerminated(r.DiskModel);
        checkTerminated(r.DiskAux);
        checkTerminated(r.DiskCapacity);
        checkTerminated(r.DiskFree);
    }
    return 0;
}
