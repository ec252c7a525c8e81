// Bytes of any shape as a message from the other side of the ICMP helper's
// socket pair: decoding stays inside the input, and what it accepts encodes
// back to the same bytes.

#include "probe/core/HelperMessages.h"
#include "tests/testsupport/FuzzDriver.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[size ? size : 1]);
    if (size)
        std::memcpy(exact.get(), data, size);
    if (const auto request = probe::decodeHelperRequest(exact.get(), size)) {
        const probe::HelperRequestBytes again = probe::encodeHelperRequest(*request);
        if (request->waitMs > probe::kHelperMaxWaitMs || size != again.size() ||
            std::memcmp(again.data(), exact.get(), size) != 0)
            std::abort();
    }
    if (const auto reply = probe::decodeHelperReply(exact.get(), size)) {
        if (reply->size > probe::kIcmpBufferSize)
            std::abort();
        (void)probe::encodeHelperReply(*reply);
    }
    return 0;
}
