#pragma once
// The addresses the automatic mode tries, in order, before it gives one to a
// unit: the PC's own address with its last octet replaced.

#include <string>
#include <string_view>
#include <vector>

namespace settings {

// Candidate n = 1 is always tried; each further n while n < 255 - m, where m is
// the last octet of the mask. The candidate's last octet is base + n, base
// being the PC's last octet AND m, so every candidate lies in the PC's own
// subnet (for the lowest block of a subnet, base is 0). The first three octets
// are the PC's text up to and including its last ".". No candidate is made
// whose last octet would pass 255; a PC address without "." gives none.
std::vector<std::string> freeAddressCandidates(std::string_view pcAddress, std::string_view pcMask);

} // namespace settings
