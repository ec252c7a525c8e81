// The OS layer's UDP socket and single-instance channel on this machine,
// line by line, so that the Windows build under wine can be held against the
// Linux one. Loopback only. Prints "ok <what>" or "FAIL <what>" per check and
// exits 1 on any failure.

#include "platform/os/Ipv4Address.h"
#include "platform/os/LocalChannel.h"
#include "platform/os/Tick.h"
#include "platform/os/UdpSocket.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <future>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <utility>

namespace {

class Report
{
public:
    void operator()(bool ok, const char* what)
    {
        std::cout << (ok ? "ok " : "FAIL ") << what << '\n';
        m_failures += ok ? 0 : 1;
    }
    bool passed() const { return m_failures == 0; }

private:
    int m_failures = 0;
};

// Polls f for at most two seconds (the event loop's notice in the program).
template <typename F>
bool within2s(F f)
{
    const auto start = platform::tickCount();
    for (int i = 0; i < 2000 && platform::tickCount() - start < 2000; ++i) {
        if (f())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

void udp(Report& check)
{
    platform::UdpSocket reader;
    check(reader.bind(platform::kLoopbackAddress, 0) && reader.localPort() != 0, "udp bind");
    const std::uint16_t port = reader.localPort();
    platform::UdpSocket squatter;
    check(!squatter.bind(platform::kLoopbackAddress, port), "udp held port refused");

    platform::UdpSocket sender;
    check(sender.open(), "udp open unbound");
    check(sender.sendTo("0123456789", 10, platform::kLoopbackAddress, port) == 10, "udp send");
    check(sender.sendTo("ab", 2, platform::kLoopbackAddress, port) == 2, "udp send short");
    check(within2s([&] { return reader.hasPending(); }), "udp pending");
    char buffer[4] = {};
    const auto longer = reader.receive(buffer, sizeof buffer);
    check(longer.got && longer.size == 4 && std::memcmp(buffer, "0123", 4) == 0 &&
              longer.source == platform::kLoopbackAddress && longer.port == sender.localPort(),
          "udp long datagram cut to the buffer");
    check(within2s([&] { return reader.hasPending(); }), "udp next pending");
    check(reader.receive(buffer, sizeof buffer).size == 2, "udp next datagram whole");
    check(!reader.receive(buffer, sizeof buffer).got, "udp receive never blocks");
    check(longer.arrival.known() && longer.arrival.localAddress == platform::kLoopbackAddress,
          "udp arrival adapter reported");

    platform::UdpSocket steered;
    check(steered.open() && steered.sendThrough("x", 1, platform::Arrival{},
                                                platform::kLoopbackAddress, port) == -1,
          "udp unknown adapter sends nothing");
    // Only programs on this PC would hear a datagram steered into loopback.
    check(steered.open() &&
              steered.sendThrough("lo", 2, longer.arrival, platform::kLoopbackAddress, port) == -1,
          "udp loopback adapter refused");
    check(!reader.waitPending(50), "udp loopback adapter sends nothing");
}

// A later start, in a thread of its own: it waits for the holder's answer,
// which this thread gives.
std::future<platform::LocalNotice> startLater(const std::string& name, const char* data,
                                              std::size_t size, int timeoutMs,
                                              std::uint32_t* holderId = nullptr)
{
    return std::async(std::launch::async, [=] {
        return platform::sendToHolder(name, data, size, timeoutMs, [holderId](std::uint32_t id) {
            if (holderId)
                *holderId = id;
        });
    });
}

void channel(Report& check)
{
    const std::string name =
        "MRV-7K2-sockets-check-" + std::to_string(platform::currentProcessId());
    platform::LocalListener holder;
    check(holder.claim(name) == platform::LocalListener::Claim::Held && holder.isListening(),
          "channel claim");
    platform::LocalListener later;
    check(later.claim(name) == platform::LocalListener::Claim::Taken, "channel taken");
    std::uint32_t holderId = 0;
    auto sending = startLater(name, "activate\n", 9, 2000, &holderId);
    std::unique_ptr<platform::LocalPeer> peer;
    const bool accepted = within2s([&] { return (peer = holder.accept()) != nullptr; });
    std::string got;
    bool ended = false;
    if (peer) {
        within2s([&] {
            char bytes[16];
            const auto read = peer->read(bytes, sizeof bytes);
            got.append(bytes, read.size);
            return got.size() >= 9 || read.ended;
        });
        peer->answer();
    }
    check(sending.get() == platform::LocalNotice::Delivered, "channel send");
    check(holderId == platform::currentProcessId(), "channel holder checked and named");
    check(accepted, "channel accept");
    if (peer) {
        within2s([&] {
            char bytes[16];
            const auto read = peer->read(bytes, sizeof bytes);
            got.append(bytes, read.size);
            ended = read.ended;
            return ended;
        });
    }
    check(got == "activate\n" && ended, "channel request read, then its end");
    check(platform::sendToHolder(name + "-nobody", "x", 1, 200) == platform::LocalNotice::NoAnswer,
          "channel nobody listening");

    // A holder that takes the bytes but never answers is no holder to leave to.
    peer.reset();
    auto unanswered = startLater(name, "activate\n", 9, 300);
    within2s([&] { return (peer = holder.accept()) != nullptr; });
    check(unanswered.get() == platform::LocalNotice::NoAnswer, "channel unanswered request");

    // Peers held up to the bound, and as many again taken and dropped: the
    // holder still hears the next start (Windows recycles bounded pipe instances).
    peer.reset();
    std::unique_ptr<platform::LocalPeer> held[platform::kLocalPeerLimit];
    int served = 0;
    for (int i = 0; i < platform::kLocalPeerLimit * 3; ++i) {
        auto next = startLater(name, "x", 1, 2000);
        std::unique_ptr<platform::LocalPeer> taken;
        if (within2s([&] { return (taken = holder.accept()) != nullptr; }))
            taken->answer();
        if (next.get() == platform::LocalNotice::Delivered)
            ++served;
        if (i < platform::kLocalPeerLimit)
            held[i] = std::move(taken);
    }
    check(served == platform::kLocalPeerLimit * 3, "channel serves past its peer bound");
    holder.close();
}

} // namespace

int main()
{
    Report report;
    udp(report);
    channel(report);
    return report.passed() ? 0 : 1;
}
