// Three zero-separated texts into the address-set check and inet_addr reading.

#include "discovery/core/AddressSet.h"
#include "platform/core/DottedQuad.h"
#include "tests/testsupport/FuzzDriver.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string parts[3];
    std::size_t k = 0;
    for (std::size_t i = 0; i < size && k < 3; ++i) {
        if (data[i] == 0)
            ++k;
        else
            parts[k].push_back(static_cast<char>(data[i]));
    }
    const int result =
        discovery::CheckAddressSet(parts[0].c_str(), parts[1].c_str(), parts[2].c_str());
    if (result < 0 || result > 3)
        std::abort();
    // A value that reads must print back to a text that reads to the same value.
    const std::uint32_t v = platform::inetAddr(parts[0]);
    if (v != platform::kInaddrNone && platform::inetAddr(platform::dottedQuad(v)) != v)
        std::abort();
    return 0;
}
