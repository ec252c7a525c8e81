#pragma once
// The address offered when the administrator switches to manual entry: the
// PC's address with every octet that the mask does not fully cover replaced
// (the last by 1, the others by 0), so it starts at the subnet's first host.

#include <array>

namespace settings {

using Octets = std::array<int, 4>;

Octets proposeManualAddress(const Octets& pcAddress, const Octets& mask);

} // namespace settings
