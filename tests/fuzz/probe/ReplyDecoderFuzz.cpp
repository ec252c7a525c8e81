// Received datagrams of any shape into the reply decoder and the check
// that they answer our probe, directly and
// through the layout of the unprivileged socket's messages; host texts into
// their classification. Reads must stay inside the input and the buffers,
// and what is accepted must be self-consistent.

#include "probe/core/HostText.h"
#include "probe/core/RawDatagram.h"
#include "probe/core/ReplyDecoder.h"
#include "probe/core/ReplyMatch.h"
#include "tests/testsupport/FuzzDriver.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

void checkDecoded(const std::uint8_t* data, std::size_t size)
{
    const probe::DecodedReply reply = probe::decodeReply(data, size, 0x12345678u, 7);
    // What counts as the answer to our probe always decodes.
    const probe::ProbeIdentity probe{{192, 168, 1, 2}, 0x1234, 7, false};
    if (probe::answersOurProbe(data, size, probe))
        fuzz::require(reply.error == probe::DecodeError::None && size > 0);
    if (reply.error != probe::DecodeError::None)
        return;
    const probe::TReplyStatus& s = reply.status;
    if (size == 0) {
        fuzz::require(s.Status == probe::ReplyTimedOut && s.SequenceNumber == 7);
        return;
    }
    fuzz::require(s.ByteCount > 0 && static_cast<std::size_t>(s.ByteCount) <= size);
    fuzz::require(s.FromAddress.size() >= 7 && s.FromAddress.size() <= 15);
    fuzz::require(s.Status == probe::ReplyEcho || s.Status == probe::ReplyUnreachable ||
                  s.Status == probe::ReplyTtlExceeded);
    fuzz::require(s.TimeToLive == data[8]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        checkDecoded(nullptr, 0);
        return 0;
    }
    const std::uint8_t mode = data[0] % 4;
    const std::uint8_t* rest = data + 1;
    const std::size_t restSize = size - 1;
    // A copy of exactly the input's length, so the sanitizer sees any read past it.
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[restSize ? restSize : 1]);
    if (restSize)
        std::memcpy(exact.get(), rest, restSize);

    probe::IcmpBuffer buffer{};
    switch (mode) {
    case 0:
        checkDecoded(exact.get(), restSize);
        break;
    case 1: {
        probe::BareMessage message;
        message.icmp = exact.get();
        message.icmpSize = restSize;
        message.source = {192, 168, 1, 1};
        message.timeToLive = 64;
        const std::size_t n = probe::rawDatagramForMessage(buffer, message);
        fuzz::require(n <= buffer.size());
        checkDecoded(buffer.data(), n);
        // Eight bytes of ICMP are all the decoder needs from a bare message.
        if (restSize >= 8)
            fuzz::require(probe::decodeReply(buffer.data(), n, 0, 0).error !=
                          probe::DecodeError::NotEnoughBytes);
        break;
    }
    case 2: {
        probe::ErrorReport report;
        report.type = restSize > 0 ? exact[0] : 3;
        report.code = restSize > 1 ? exact[1] : 0;
        report.info = 1500;
        report.quoted = restSize > 2 ? exact.get() + 2 : nullptr;
        report.quotedSize = restSize > 2 ? restSize - 2 : 0;
        const std::size_t n = probe::rawDatagramForError(buffer, report);
        fuzz::require(n >= 48 && n <= buffer.size());
        checkDecoded(buffer.data(), n);
        break;
    }
    default: {
        const std::string_view text(reinterpret_cast<const char*>(exact.get()), restSize);
        const probe::HostTarget target = probe::classifyHost(text);
        if (target.kind == probe::HostKind::DottedQuad)
            fuzz::require(restSize >= 7);
        break;
    }
    }
    return 0;
}
