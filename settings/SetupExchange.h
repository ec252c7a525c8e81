#pragma once
// One setup exchange with a unit: the "0C02S" request broadcast to port 12311
// and the unit's "0C02R" answer awaited on port 12310. The apply sequence
// opens it, learns of the awaited reply through awaitedReplyArrived() and
// closes it.

#include "discovery/core/DeviceRecord.h"
#include "discovery/core/DiscoveryReply.h"
#include "platform/net/DatagramReader.h"
#include "platform/os/LocalAddresses.h"
#include "platform/os/UdpSocket.h"
#include "settings/core/SetupRequest.h"

#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <memory>
#include <string>

namespace settings {

class SetupExchange : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SetupExchange)

public:
    enum class OpenResult
    {
        Sent,           // the request went out; the reply socket is armed
        RequestTooLong, // refused before anything was opened or sent
        // The reply port could not be bound (taken, or reserved by the
        // system); nothing was sent.
        ReplyPortInUse,
        // Something on this PC holds the units' request port and would read
        // the request (and its password): nothing was sent.
        RequestPortInUse,
    };

    explicit SetupExchange(QObject* parent = nullptr);
    ~SetupExchange() override;

    // Where the request goes and where the reply is awaited. The defaults are
    // the units' ports and the limited broadcast; tests point them at loopback.
    struct Endpoints
    {
        platform::Ipv4Address requestAddress = platform::kLimitedBroadcast;
        std::uint16_t requestPort = discovery::kRequestPort;
        platform::Ipv4Address replyAddress = platform::kAnyAddress;
        std::uint16_t replyPort = discovery::kReplyPort;
    };
    void setEndpoints(const Endpoints& endpoints) { m_endpoints = endpoints; }

    // Whether a request with these texts would fit its buffer (the builder's
    // refusal, asked before anything is done).
    static bool requestFits(const discovery::DeviceRecord& record, const char* newAddress,
                            const char* newMask, const char* newGateway, const QByteArray& userName,
                            const QByteArray& password);

    // The opening: zeroes SetupReplyBuffer, copies the record's identity and
    // host values, builds the request, binds the reply socket (before anything
    // goes out, so an answer that comes at once is heard) and sends the
    // request to 255.255.255.255:12311. The request carries the password in
    // clear, so it leaves only through the adapter the unit's discovery reply
    // came in by, never through the PC's other networks; when the record does
    // not know that adapter, or it has gone, not at all (the exchange then
    // times out). The system hands every broadcast to this PC's own listeners
    // too, so the request port is held here while it goes out and our own
    // copy read back; when another program holds that port, nothing is sent.
    // The request buffer is wiped as soon as it is sent.
    OpenResult open(const discovery::DeviceRecord& record, const char* newAddress,
                    const char* newMask, const char* newGateway, const QByteArray& userName,
                    const QByteArray& password);

    // Closes the reply socket; a reply arriving later is never read.
    void close();

    bool isOpen() const { return SetupReplySocket.isOpen(); }

    // After ReplyPortInUse or RequestPortInUse: the message that says so,
    // naming the program in the way when the system told, or saying that the
    // system reserves the reply port.
    std::string busyPortMessage() const { return m_busyPortMessage; }

    // The unit accepted the settings: the last datagram read was the awaited
    // reply and its status byte is "2".
    bool accepted() const;

    const char (&SetupReplyBuffer() const)[kSetupBufferSize] { return m_replyBuffer; }

signals:
    // The awaited reply was read into SetupReplyBuffer (accepted or not).
    void awaitedReplyArrived();

private:
    // One datagram, in the zeroed SetupReplyBuffer, as one readiness notice
    // reads one. One from this PC itself is no unit's and is passed over,
    // unless the reply socket was pointed at loopback (setEndpoints).
    void onSetupReply();
    // Sends the request through SetupSendSocket, then closes it; whether it went out.
    bool SendSetupRequest(const char* request, std::size_t length);
    // Binds SetupReplySocket to the reply port; false when it is taken.
    bool OpenSetupReplySocket();
    // Reads back and wipes our own copy of the request (length bytes) from
    // m_requestPortHold, waiting for it a bounded time, then closes the hold.
    void releaseRequestPort(std::size_t length);
    void noteBusyPort(const char* message, std::uint16_t port);

    Endpoints m_endpoints;
    char m_replyBuffer[kSetupBufferSize]{};
    platform::DatagramReader SetupReplySocket; // after the buffer it reads into
    platform::UdpSocket SetupSendSocket;       // open until the request is sent
    platform::UdpSocket m_requestPortHold;     // the request port, while a broadcast goes out
    std::string m_busyPortMessage;
    platform::LocalAddresses m_local; // this PC's, read at each opening
    platform::Arrival m_via;          // the unit's adapter, from its record
    char m_identity[discovery::kMacAddressSize]{};
    bool m_awaitedSeen = false;
};

} // namespace settings
