#pragma once
// Whether an address, mask and gateway form a sound IPv4 set.

namespace discovery {

enum AddressSetResult : int
{
    AddressSetOk = 0,
    AddressSetBadAddress = 1,
    AddressSetBadMask = 2,
    AddressSetBadGateway = 3,
};

// Each argument is a zero-terminated dotted-quad text (nullptr reads as "").
// Returns 0 to 3 (AddressSetResult). Pure.
int CheckAddressSet(const char* address, const char* mask, const char* gateway);

} // namespace discovery
