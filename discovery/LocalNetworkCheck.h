#pragma once
// CheckLocalNetwork on this PC's real adapters.

#include "discovery/core/LocalNetwork.h"

namespace discovery {

// Reads the platform's adapter list and picks the PC's adapter into values.
void CheckLocalNetwork(PcNetworkValues& values);

} // namespace discovery
