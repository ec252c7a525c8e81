#include "platform/os/Adapters.h"

// clang-format off
#include <winsock2.h>
#include <iphlpapi.h>
// clang-format on

#include <vector>

namespace platform {

std::optional<std::vector<Adapter>> adapters()
{
    // First ask with room for one entry; a larger list reports the size it needs.
    ULONG size = 640;
    std::vector<unsigned char> buffer(size);
    if (GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size) ==
        ERROR_BUFFER_OVERFLOW)
        buffer.resize(size);
    size = static_cast<ULONG>(buffer.size());
    if (GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size) != NO_ERROR)
        return std::nullopt;

    std::vector<Adapter> result;
    for (const IP_ADAPTER_INFO* info = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data());
         info; info = info->Next) {
        Adapter adapter;
        adapter.name = info->AdapterName;
        adapter.up = true; // the list holds the adapters that are present
        adapter.address = info->IpAddressList.IpAddress.String;
        adapter.mask = info->IpAddressList.IpMask.String;
        adapter.gateway = info->GatewayList.IpAddress.String;
        result.push_back(std::move(adapter));
    }
    if (result.empty())
        return std::nullopt;
    return result;
}

} // namespace platform
