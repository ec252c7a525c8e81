// Windows: the adapters with their IPv4 address, mask, gateway and interface
// index, read from the IP Helper's adapter list.

#include "platform/os/Adapters.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <netioapi.h>
// clang-format on

#include <vector>

namespace platform {
namespace {

constexpr const char* kNoAddress = "0.0.0.0";

// The adapter list in a buffer of the size the system asks for. The list may
// grow between asking and reading; a few rounds settle that.
std::optional<std::vector<unsigned char>> adapterInfo()
{
    ULONG size = sizeof(IP_ADAPTER_INFO);
    for (int round = 0; round < 4; ++round) {
        std::vector<unsigned char> buffer(size);
        const ULONG result =
            GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
        if (result == NO_ERROR)
            return buffer;
        if (result != ERROR_BUFFER_OVERFLOW)
            return std::nullopt; // ERROR_NO_DATA too: no adapter at all
    }
    return std::nullopt;
}

std::string textOr0(const char* text)
{
    return text[0] != '\0' ? std::string(text) : std::string(kNoAddress);
}

} // namespace

std::optional<std::vector<Adapter>> adapters()
{
    const auto buffer = adapterInfo();
    if (!buffer)
        return std::nullopt;

    std::vector<Adapter> result;
    for (const auto* info = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer->data()); info;
         info = info->Next) {
        Adapter adapter;
        adapter.name = info->AdapterName;
        // The IPv4 interface index, the one IP_PKTINFO reports for an arrival.
        adapter.index = info->Index;
        adapter.address = textOr0(info->IpAddressList.IpAddress.String);
        adapter.mask = textOr0(info->IpAddressList.IpMask.String);
        adapter.gateway = textOr0(info->GatewayList.IpAddress.String);
        adapter.up = true;
        // Windows itself lists a disconnected adapter with 0.0.0.0; asking
        // for the link's state keeps that so where a system lists the
        // address it would have.
        MIB_IF_ROW2 row{};
        row.InterfaceIndex = info->Index;
        if (GetIfEntry2(&row) == NO_ERROR) {
            adapter.up = row.AdminStatus == NET_IF_ADMIN_STATUS_UP;
            if (row.OperStatus != IfOperStatusUp)
                adapter.address = adapter.mask = adapter.gateway = kNoAddress;
        }
        result.push_back(std::move(adapter));
    }
    if (result.empty())
        return std::nullopt;
    return result;
}

} // namespace platform
