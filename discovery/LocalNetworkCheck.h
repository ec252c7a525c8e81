#pragma once
// CheckLocalNetwork on this PC's real adapters.

#include "discovery/core/LocalNetwork.h"

namespace discovery {

// Reads the platform's adapter list and picks the PC's adapter into values.
// Returns the list read (empty when it could not be), by which each unit is
// judged on the adapter its reply came in by.
std::vector<AdapterAddresses> CheckLocalNetwork(PcNetworkValues& values);

} // namespace discovery
