#pragma once
// The PC's own network settings: the first adapter whose address, mask and
// gateway form a sound set, chosen once at start-up; and for each unit the
// network of the adapter its reply came in by.

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

// The chosen adapter's values as dotted texts, its network, and how the
// choice went (a NetworkStateCode).
struct PcNetworkValues
{
    char PcIpAddress[kPcTextSize];
    char PcSubnetMask[kPcTextSize];
    char PcGateway[kPcTextSize];
    std::uint32_t PcNetwork; // network byte order
    std::int32_t NetworkState;
};

// One adapter as the platform reports it: first address, its mask, first
// gateway, and the system's index of the adapter (0: unknown).
struct AdapterAddresses
{
    std::string address;
    std::string mask;
    std::string gateway;
    std::uint32_t index = 0;
};

// Picks the first adapter in list order whose set passes CheckAddressSet.
// nullopt stands for a list that could not be read.
void CheckLocalNetwork(PcNetworkValues& values,
                       const std::optional<std::vector<AdapterAddresses>>& adapters);

// The values a unit is judged and set up by: those of the adapter with index
// arrivalInterface when it is listed with a sound set, else pc unchanged (an
// unknown arrival, 0, an adapter gone or without a gateway). On a PC with one
// adapter that is always pc.
PcNetworkValues unitNetworkValues(const PcNetworkValues& pc,
                                  const std::vector<AdapterAddresses>& adapters,
                                  std::uint32_t arrivalInterface);

} // namespace discovery
