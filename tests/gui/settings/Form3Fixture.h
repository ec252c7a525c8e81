#pragma once
// What the settings dialog's tests share: the dialog made for one record,
// with a fake echo client, a fake neighbour table and a fake unit on
// loopback, and ways to reach its controls.

#include "discovery/core/DeviceTable.h"
#include "discovery/core/FixedText.h"
#include "platform/gui/SecretEdit.h"
#include "settings/Form3.h"
#include "settings/core/SettingsMessages.h"
#include "tests/testsupport/MessageBoxCatcher.h"
#include "widgets/TIPAddressControl.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUdpSocket>
#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace form3test {

using settings::Form3;

inline const char* const kIdentity = "00:11:22:AA:BB:CC";
inline const QByteArray kMarker = QByteArrayLiteral("marker");

// Answers probes from a set of taken addresses, remembering each host asked.
class FakeProber : public settings::AddressProber
{
public:
    std::set<std::string> taken;
    std::string failOn;
    std::vector<std::string> asked;

    void echo(const std::string& host, int receiveTimeoutMs, const ReplyHandler& onReply) override
    {
        asked.push_back(host);
        lastTimeout = receiveTimeoutMs;
        if (host == failOn)
            throw settings::ProbeError("Cannot allocate socket.");
        probe::TReplyStatus status;
        if (taken.count(host)) {
            status.ByteCount = 72;
            status.FromAddress = host;
            status.Status = probe::ReplyEcho;
        }
        onReply(nullptr, status);
    }
    int lastTimeout = 0;
};

// A unit on loopback: records each request and answers with the given bytes.
class FakeUnit : public QObject
{
public:
    QUdpSocket socket;
    QList<QByteArray> requests;
    QByteArray answer;
    quint16 replyPort = 0;

    FakeUnit()
    {
        socket.bind(QHostAddress::LocalHost, 0);
        connect(&socket, &QUdpSocket::readyRead, this, [this] {
            while (socket.hasPendingDatagrams()) {
                QByteArray datagram(int(socket.pendingDatagramSize()), '\0');
                socket.readDatagram(datagram.data(), datagram.size());
                requests << datagram;
                if (!answer.isEmpty() && datagram != kMarker)
                    socket.writeDatagram(answer, QHostAddress::LocalHost, replyPort);
            }
        });
    }
};

// Nothing typed can be brought back: the field has no undo history left.
// A password field hides its history from undo, so it is asked as a plain one.
// The field is empty and every unit of its buffer is zero again.
inline bool noTypedTextLeft(platform::SecretEdit* field)
{
    const char16_t* buffer = field->text().utf16();
    return field->isEmpty() && std::all_of(buffer, buffer + platform::SecretEdit::kCapacity,
                                           [](char16_t c) { return c == 0; });
}

inline bool noTypedTextLeft(QLineEdit* field)
{
    const QLineEdit::EchoMode mode = field->echoMode();
    field->setEchoMode(QLineEdit::Normal);
    const bool undoable = field->isUndoAvailable();
    field->undo();
    const bool empty = field->text().isEmpty();
    field->setEchoMode(mode);
    return !undoable && empty;
}

inline quint16 freeLoopbackPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

struct Fixture
{
    discovery::DeviceTable table{};
    discovery::PcNetworkValues pc{};
    Form3* form = nullptr;
    FakeProber* prober = nullptr;
    std::set<std::string> arpTaken;
    FakeUnit unit;

    Fixture(bool otherSubnet, const char* pcAddress = "192.168.1.37",
            const char* pcMask = "255.255.255.0", const char* pcGateway = "192.168.1.1")
    {
        discovery::ClearDeviceTable(table);
        table.DeviceCount = 1;
        discovery::DeviceRecord& r = *table.record(1);
        discovery::copyText(r.MacAddress, kIdentity);
        discovery::copyText(r.IpAddress, otherSubnet ? "10.0.0.5" : "192.168.1.50");
        discovery::copyText(r.HostName, "MRV7K2");
        discovery::copyText(r.HostAux, "WORKGROUP");
        r.OtherSubnet = otherSubnet ? 1 : 0;
        discovery::copyText(pc.PcIpAddress, pcAddress);
        discovery::copyText(pc.PcSubnetMask, pcMask);
        discovery::copyText(pc.PcGateway, pcGateway);

        form = new Form3(table, pc, [] { return 0; });
        auto fake = std::make_unique<FakeProber>();
        prober = fake.get();
        form->setAddressProber(std::move(fake));
        form->setNeighbourLookup(
            [this](std::string_view a) { return arpTaken.count(std::string(a)) > 0; });
        settings::SetupExchange::Endpoints e;
        e.requestAddress = platform::kLoopbackAddress;
        e.requestPort = unit.socket.localPort();
        e.replyAddress = platform::kLoopbackAddress;
        e.replyPort = freeLoopbackPort();
        unit.replyPort = e.replyPort;
        form->exchange().setEndpoints(e);
    }
    ~Fixture() { delete form; }

    template <typename T>
    T* child(const char* name) const
    {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    // The requests the unit got before a marker sent now: one the dialog
    // sent earlier would have arrived first.
    QList<QByteArray> requestsBeforeMarker()
    {
        QUdpSocket sender;
        sender.writeDatagram(kMarker, QHostAddress::LocalHost, unit.socket.localPort());
        if (!QTest::qWaitFor([this] { return unit.requests.contains(kMarker); }, 5000))
            return {"no marker"};
        return unit.requests.mid(0, unit.requests.indexOf(kMarker));
    }
    widgets::TIPAddressControl* control(const char* name) const
    {
        return child<widgets::TIPAddressControl>(name);
    }
    void setManual(const char* address, const char* mask, const char* gateway)
    {
        child<QRadioButton>("RBtnManualSetupIP")->setChecked(true);
        control("IPAddressControl")->SetIPAddr(QString::fromLatin1(address));
        control("MaskAddressControl")->SetIPAddr(QString::fromLatin1(mask));
        control("GatewayAddressControl")->SetIPAddr(QString::fromLatin1(gateway));
    }
    QString fieldsText() const
    {
        return control("IPAddressControl")->GetIPAddr() + " " +
               control("MaskAddressControl")->GetIPAddr() + " " +
               control("GatewayAddressControl")->GetIPAddr();
    }
    bool idleButtons() const
    {
        return child<QPushButton>("Button1")->isEnabled() &&
               child<QPushButton>("Button2")->isEnabled() &&
               !child<QProgressBar>("ProgressBar1")->isVisible();
    }
};

inline QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace form3test
