#pragma once
// The PC's own network settings: the first adapter whose address, mask and
// gateway form a sound set, chosen once at start-up.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace discovery {

inline constexpr int kPcTextSize = 32;

enum NetworkStateCode : std::int32_t
{
    NetworkOk = 0, // an adapter was chosen
    NetworkNoUsableAdapter = 1,
    NetworkAdapterListFailed = 2,
};

struct PcNetworkValues
{
    char PcIpAddress[kPcTextSize];
    char PcSubnetMask[kPcTextSize];
    char PcGateway[kPcTextSize];
    std::uint32_t PcNetwork; // network byte order
    std::int32_t NetworkState;
};

// One adapter as the platform reports it: first address, its mask, first gateway.
struct AdapterAddresses
{
    std::string address;
    std::string mask;
    std::string gateway;
};

// Picks the first adapter in list order whose set passes CheckAddressSet.
// nullopt stands for a list that could not be read.
void CheckLocalNetwork(PcNetworkValues& values,
                       const std::optional<std::vector<AdapterAddresses>>& adapters);

} // namespace discovery
