// mrv7k2-icmp-helper: the one part of the program that may hold CAP_NET_RAW,
// for systems that refuse the user the unprivileged ICMP socket. The window
// program starts it before its toolkit exists and hands it one end of a
// socket pair as descriptor 3. It opens its raw ICMP socket, gives up every
// capability, and then only sends echo requests and returns the answer to
// each; it ends when the pair closes or on any request it does not expect.
// Any local user can start it, so it sends nothing but the program's own
// echo request, to a unicast address, at most ten a second.

#include "platform/os/IcmpSocket.h"
#include "platform/os/Privileges.h"
#include "probe/core/HelperMessages.h"
#include "probe/core/LittleEndian.h"
#include "probe/core/ReplyMatch.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kChannel = 3;
constexpr int kTimeToLive = 128;
// Bounds on the helper's life and on one wait's reads.
constexpr long kMaxRequests = 1000000;
constexpr int kMaxDatagramsPerWait = 4096;

int processControl(int option, unsigned long value)
{
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): prctl(2) is declared variadic
    return ::prctl(option, value, 0UL, 0UL, 0UL);
}

bool isOurChannel()
{
    int type = 0;
    socklen_t length = sizeof type;
    return ::getsockopt(kChannel, SOL_SOCKET, SO_TYPE, &type, &length) == 0 &&
           type == SOCK_SEQPACKET;
}

using Clock = std::chrono::steady_clock;

probe::HelperReply serve(platform::IcmpSocket& socket, const probe::HelperRequest& request,
                         Clock::time_point& lastSend)
{
    probe::HelperReply reply;
    // Whoever started us, the sends stay paced: the program itself never
    // probes faster than this.
    std::this_thread::sleep_until(lastSend + std::chrono::milliseconds(probe::kHelperMinSendGapMs));
    lastSend = Clock::now();
    // Whatever queued since the last request answers nothing of ours.
    for (int i = 0; i < kMaxDatagramsPerWait && socket.waitReadable(0); ++i) {
        if (socket.receive(reply.datagram.data(), reply.datagram.size()).size == 0)
            break;
    }
    const platform::IcmpSocket::Sent sent =
        socket.sendTo(request.echo.data(), request.echo.size(), request.target, 0);
    if (sent.error != 0 || sent.bytes != request.echo.size()) {
        reply.outcome = probe::HelperOutcome::SocketError;
        reply.error = sent.error != 0 ? sent.error : 10040;
        reply.datagram.fill(0);
        return reply;
    }
    probe::ProbeIdentity probe;
    probe.target = request.target;
    probe.identifier = probe::getLittleEndian16(request.echo.data(), 4);
    probe.sequence = probe::getLittleEndian16(request.echo.data(), 6);
    const auto deadline = Clock::now() + std::chrono::milliseconds(request.waitMs);
    for (int attempt = 0; attempt < kMaxDatagramsPerWait; ++attempt) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (!socket.waitReadable(static_cast<int>(left > 0 ? left : 0)))
            break;
        reply.datagram.fill(0);
        const platform::IcmpSocket::Received got =
            socket.receive(reply.datagram.data(), reply.datagram.size());
        if (got.error != 0) {
            reply.outcome = probe::HelperOutcome::SocketError;
            reply.error = got.error;
            reply.datagram.fill(0);
            return reply;
        }
        if (got.size > 0 && probe::answersOurProbe(reply.datagram.data(), got.size, probe)) {
            reply.outcome = probe::HelperOutcome::Answered;
            reply.size = static_cast<std::uint16_t>(got.size);
            return reply;
        }
    }
    // The budget spent before the wait ended: our answer may be among the
    // unread, so the address must not pass for free.
    if (Clock::now() < deadline)
        reply.outcome = probe::HelperOutcome::Flooded;
    reply.datagram.fill(0);
    return reply;
}

} // namespace

int main()
{
    platform::openStandardDescriptors();
    if (!isOurChannel())
        return 2;
    // Not to be traced or dumped by the user who started it, and nothing it
    // might start could gain a privilege.
    (void)processControl(PR_SET_DUMPABLE, 0);
    platform::IcmpSocket socket;
    const bool opened = socket.open(1, 0) && socket.kind() == platform::IcmpSocket::Kind::Raw &&
                        socket.setTimeToLive(kTimeToLive) == 0;
    if (!platform::dropAllCapabilities() || processControl(PR_SET_NO_NEW_PRIVS, 1) != 0)
        return 3;
    // Without a raw socket there is nothing to offer: the program sees the
    // pair close and reports that it cannot allocate a socket.
    if (!opened)
        return 5;
    Clock::time_point lastSend{};
    for (long served = 0; served < kMaxRequests; ++served) {
        std::array<std::uint8_t, probe::kHelperRequestSize + 1> in{};
        const ssize_t n = ::recv(kChannel, in.data(), in.size(), 0);
        if (n <= 0)
            return 0;
        const auto request = probe::decodeHelperRequest(in.data(), static_cast<std::size_t>(n));
        if (!request)
            return 4;
        const probe::HelperReply reply = serve(socket, *request, lastSend);
        const probe::HelperReplyBytes out = probe::encodeHelperReply(reply);
        if (::send(kChannel, out.data(), out.size(), MSG_NOSIGNAL) !=
            static_cast<ssize_t>(out.size()))
            return 0;
    }
    return 0;
}
