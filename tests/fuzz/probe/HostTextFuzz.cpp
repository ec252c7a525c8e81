// Any text as the echo client's host: what reads as an address is four
// decimal parts that name exactly its octets, and the address written back
// plainly reads to the same; "localhost" is only that word.

#include "probe/core/HostText.h"
#include "tests/testsupport/FuzzDriver.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A copy of exactly the input's length, so the sanitizer sees any read past it.
    std::unique_ptr<char[]> exact(new char[size ? size : 1]);
    if (size)
        std::memcpy(exact.get(), data, size);
    const std::string_view host(exact.get(), size);
    const probe::HostTarget target = probe::classifyHost(host);

    if (target.kind == probe::HostKind::Localhost) {
        fuzz::require(size == 9);
        for (std::size_t i = 0; i < size; ++i)
            fuzz::require((host[i] | 0x20) == "localhost"[i]);
        return 0;
    }
    if (target.kind != probe::HostKind::DottedQuad)
        return 0;
    unsigned parts[4] = {};
    std::size_t part = 0;
    for (const char c : host) {
        if (c == '.') {
            ++part;
            fuzz::require(part < 4);
        } else {
            fuzz::require(c >= '0' && c <= '9');
            parts[part] = parts[part] * 10 + static_cast<unsigned>(c - '0');
            fuzz::require(parts[part] <= 255);
        }
    }
    fuzz::require(part == 3);
    char plain[16];
    std::snprintf(plain, sizeof plain, "%u.%u.%u.%u", target.address[0], target.address[1],
                  target.address[2], target.address[3]);
    for (std::size_t i = 0; i < 4; ++i)
        fuzz::require(parts[i] == target.address[i]);
    const probe::HostTarget again = probe::classifyHost(plain);
    fuzz::require(again.kind == probe::HostKind::DottedQuad && again.address == target.address);
    return 0;
}
