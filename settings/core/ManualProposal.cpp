// Works out the proposed manual address octet by octet.

#include "settings/core/ManualProposal.h"

namespace settings {

Octets proposeManualAddress(const Octets& pcAddress, const Octets& mask)
{
    Octets proposal = pcAddress;
    if (mask[3] != 255)
        proposal[3] = 1;
    for (int i = 2; i >= 0; --i) {
        if (mask[i] != 255)
            proposal[i] = 0;
    }
    return proposal;
}

} // namespace settings
