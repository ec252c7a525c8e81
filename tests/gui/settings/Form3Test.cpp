// The settings dialog in-process: start values, modes, validation, the
// free-address search on a fake echo client, and the setup exchange against a
// fake unit on loopback.

#include "settings/Form3.h"

#include "discovery/core/DeviceTable.h"
#include "discovery/core/FixedText.h"
#include "platform/gui/SecretEdit.h"
#include "settings/core/SettingsMessages.h"
#include "tests/testsupport/MessageBoxCatcher.h"
#include "widgets/TIPAddressControl.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUdpSocket>
#include <algorithm>
#include <set>

using settings::Form3;

namespace {

const char* const kIdentity = "00:11:22:AA:BB:CC";
const QByteArray kMarker = QByteArrayLiteral("marker");

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
bool noTypedTextLeft(platform::SecretEdit* field)
{
    const char16_t* buffer = field->text().utf16();
    return field->isEmpty() && std::all_of(buffer, buffer + platform::SecretEdit::kCapacity,
                                           [](char16_t c) { return c == 0; });
}

bool noTypedTextLeft(QLineEdit* field)
{
    const QLineEdit::EchoMode mode = field->echoMode();
    field->setEchoMode(QLineEdit::Normal);
    const bool undoable = field->isUndoAvailable();
    field->undo();
    const bool empty = field->text().isEmpty();
    field->setEchoMode(mode);
    return !undoable && empty;
}

quint16 freeLoopbackPort()
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

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

class Form3Test : public QObject
{
    Q_OBJECT

private slots:
    void layout();
    void opening_data();
    void opening();
    void reopening();
    void typingIntoAddress();
    void modeSwitch_data();
    void modeSwitch();
    void validation_data();
    void validation();
    void search_data();
    void search();
    void exchange_data();
    void exchange();
    void keyboardAlone();
    void busyState();
};

void Form3Test::layout()
{
    Fixture f(true);
    QCOMPARE(f.form->windowTitle(), text("設定"));
    QCOMPARE(f.form->size(), QSize(328, 278));
    QVERIFY(!(f.form->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(f.form->windowFlags() & Qt::WindowSystemMenuHint));
    // Character heights are pixels, whatever the form description's point sizes.
    QCOMPARE(f.child<QRadioButton>("RBtnAutoAssignIP")->font().pixelSize(), 15);
    QCOMPARE(f.child<QLineEdit>("Edit1")->font().pixelSize(), 13);
    // Tab order among the dialog's own controls: buttons, then the credentials.
    QStringList order;
    for (QWidget* w = f.child<QWidget>("IPAddressControl"); order.size() < 9;
         w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().startsWith("qt_") &&
            w->parentWidget() &&
            (w->parentWidget() == f.form || w->parentWidget()->objectName() == "GroupBox1"))
            order << w->objectName();
    }
    QCOMPARE(order, QStringList({"IPAddressControl", "MaskAddressControl", "GatewayAddressControl",
                                 "RBtnAutoAssignIP", "RBtnManualSetupIP", "Button1", "Button2",
                                 "Edit1", "Edit2"}));
    // Made hidden, as at start-up.
    QVERIFY(!f.form->isVisible());
}

void Form3Test::opening_data()
{
    QTest::addColumn<bool>("otherSubnet");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<bool>("autoEnabled");
    QTest::addColumn<bool>("fieldsEnabled");
    QTest::addColumn<QString>("fields");

    QTest::newRow("unit outside the subnet")
        << true << true << true << false << "0.0.0.0 0.0.0.0 0.0.0.0";
    QTest::newRow("unit inside the subnet")
        << false << false << false << true << "192.168.1.1 255.255.255.0 192.168.1.1";
}

void Form3Test::opening()
{
    QFETCH(bool, otherSubnet);
    QFETCH(bool, automatic);
    QFETCH(bool, autoEnabled);
    QFETCH(bool, fieldsEnabled);
    QFETCH(QString, fields);

    Fixture f(otherSubnet);
    f.form->show();
    QCOMPARE(f.child<QRadioButton>("RBtnAutoAssignIP")->isChecked(), automatic);
    QCOMPARE(f.child<QRadioButton>("RBtnManualSetupIP")->isChecked(), !automatic);
    QCOMPARE(f.child<QRadioButton>("RBtnAutoAssignIP")->isEnabled(), autoEnabled);
    QVERIFY(f.child<QRadioButton>("RBtnManualSetupIP")->isEnabled());
    for (const char* name : {"IPAddressControl", "MaskAddressControl", "GatewayAddressControl",
                             "LBIPAddr", "LBNetMask", "LBGateWay"})
        QCOMPARE(f.child<QWidget>(name)->isEnabled(), fieldsEnabled);
    QCOMPARE(f.fieldsText(), fields);
    QVERIFY(f.child<QLineEdit>("Edit1")->text().isEmpty());
    QVERIFY(f.child<platform::SecretEdit>("Edit2")->isEmpty());
    QCOMPARE(f.form->focusWidget(), f.child<QWidget>("Button1"));
    QVERIFY(f.idleButtons());
    QCOMPARE(f.form->Timer2()->interval(), 300);
    QCOMPARE(QByteArray(f.form->NewAddress()), QByteArray("192.168.1.37"));
}

// The dialog lives on between openings; only the start values are reset.
void Form3Test::reopening()
{
    Fixture f(false);
    MessageBoxCatcher boxes;
    f.form->show();
    f.control("IPAddressControl")->SetIPAddr(QStringLiteral("192.168.1.99"));
    QTest::keyClicks(f.child<QLineEdit>("Edit1"), QStringLiteral("admin"));
    QTest::keyClicks(f.child<platform::SecretEdit>("Edit2"), QStringLiteral("secret"));
    QCOMPARE(f.child<platform::SecretEdit>("Edit2")->characterCount(), 6u);
    QTest::mouseClick(f.child<QPushButton>("Button2"), Qt::LeftButton);
    QCOMPARE(f.form->result(), int(QDialog::Rejected));
    QVERIFY(!f.form->isVisible());
    QVERIFY(f.unit.requests.isEmpty());
    QVERIFY(noTypedTextLeft(f.child<QLineEdit>("Edit1")));
    QVERIFY(noTypedTextLeft(f.child<platform::SecretEdit>("Edit2")));

    f.form->show();
    QVERIFY(f.child<QLineEdit>("Edit1")->text().isEmpty());
    QVERIFY(f.child<platform::SecretEdit>("Edit2")->isEmpty());
    // Manual mode was already checked: the typed address stays.
    QCOMPARE(f.control("IPAddressControl")->GetIPAddr(), QStringLiteral("192.168.1.99"));
    QVERIFY(boxes.boxes().isEmpty());

    // The window manager's close while idle is Cancel: nothing sent, nothing kept.
    QTest::keyClicks(f.child<platform::SecretEdit>("Edit2"), QStringLiteral("secret"));
    f.form->setResult(QDialog::Accepted);
    QVERIFY(f.form->close());
    QCOMPARE(f.form->result(), int(QDialog::Rejected));
    QVERIFY(f.unit.requests.isEmpty());
    QVERIFY(noTypedTextLeft(f.child<platform::SecretEdit>("Edit2")));
    f.form->show();

    // The same dialog now opened for a unit outside the subnet.
    f.table.record(1)->OtherSubnet = 1;
    f.form->hide();
    f.form->show();
    QVERIFY(f.child<QRadioButton>("RBtnAutoAssignIP")->isChecked());
    QCOMPARE(f.fieldsText(), QStringLiteral("0.0.0.0 0.0.0.0 0.0.0.0"));
}

// A person clicks into the last octet and types: the focus stays in that octet.
void Form3Test::typingIntoAddress()
{
    Fixture f(false);
    f.form->show();
    f.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.form));
    const auto fields = f.control("IPAddressControl")->findChildren<QLineEdit*>();
    QCOMPARE(fields.size(), 4);
    QLineEdit* last = fields[3];
    for (QLineEdit* field : fields)
        if (field->x() > last->x())
            last = field;
    QTest::mouseClick(last, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), last);
    QTest::keyClick(last, Qt::Key_End);
    QTest::keyClick(last, Qt::Key_Backspace);
    QTest::keyClicks(last, QStringLiteral("77"));
    QCOMPARE(QApplication::focusWidget(), last);
    QCOMPARE(f.control("IPAddressControl")->GetIPAddr(), QStringLiteral("192.168.1.77"));
}

void Form3Test::modeSwitch_data()
{
    QTest::addColumn<QString>("pcAddress");
    QTest::addColumn<QString>("pcMask");
    QTest::addColumn<QString>("fields");

    QTest::newRow("/24") << "192.168.1.37"
                         << "255.255.255.0"
                         << "192.168.1.1 255.255.255.0 192.168.1.1";
    QTest::newRow("/16") << "192.168.1.37"
                         << "255.255.0.0"
                         << "192.168.0.1 255.255.0.0 192.168.1.1";
    QTest::newRow("/25 upper half") << "192.168.1.200"
                                    << "255.255.255.128"
                                    << "192.168.1.1 255.255.255.128 192.168.1.1";
}

void Form3Test::modeSwitch()
{
    QFETCH(QString, pcAddress);
    QFETCH(QString, pcMask);
    QFETCH(QString, fields);

    Fixture f(true, qPrintable(pcAddress), qPrintable(pcMask));
    f.form->show();
    QTest::mouseClick(f.child<QRadioButton>("RBtnManualSetupIP"), Qt::LeftButton);
    QCOMPARE(f.fieldsText(), fields);
    QVERIFY(f.control("IPAddressControl")->isEnabled());
    QVERIFY(f.child<QLabel>("LBIPAddr")->isEnabled());

    // Back to automatic: fields emptied to zeros and disabled; to manual again:
    // filled anew, whatever was typed.
    f.control("GatewayAddressControl")->SetIPAddr(QStringLiteral("10.9.9.9"));
    f.child<QRadioButton>("RBtnAutoAssignIP")->setChecked(true);
    QCOMPARE(f.fieldsText(), QStringLiteral("0.0.0.0 0.0.0.0 0.0.0.0"));
    QVERIFY(!f.control("MaskAddressControl")->isEnabled());
    f.child<QRadioButton>("RBtnManualSetupIP")->setChecked(true);
    QCOMPARE(f.fieldsText(), fields);
}

void Form3Test::validation_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<QString>("message");

    QTest::newRow("loopback address") << "127.0.0.5"
                                      << "255.0.0.0"
                                      << "127.0.0.1" << text(settings::messages::kBadAddress);
    QTest::newRow("host part zero") << "192.168.1.0"
                                    << "255.255.255.0"
                                    << "192.168.1.1" << text(settings::messages::kBadAddress);
    QTest::newRow("broken mask") << "192.168.1.50"
                                 << "255.0.255.0"
                                 << "192.168.1.1" << text(settings::messages::kBadMask);
    QTest::newRow("gateway outside") << "192.168.1.50"
                                     << "255.255.255.0"
                                     << "192.168.2.1" << text(settings::messages::kBadGateway);
}

void Form3Test::validation()
{
    QFETCH(QString, address);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(QString, message);

    Fixture f(false);
    MessageBoxCatcher boxes;
    f.form->show();
    f.setManual(qPrintable(address), qPrintable(mask), qPrintable(gateway));
    f.child<QLineEdit>("Edit1")->setText(QStringLiteral("admin"));
    QTest::mouseClick(f.child<QPushButton>("Button1"), Qt::LeftButton);

    QCOMPARE(boxes.texts(), QStringList{message});
    QCOMPARE(boxes.boxes().first().title, text("エラー"));
    QVERIFY(!boxes.boxes().first().hadParent);
    QCOMPARE(boxes.boxes().first().buttons, 1);
    // Everything as typed, nothing sent, still open and idle.
    QCOMPARE(f.fieldsText(), address + " " + mask + " " + gateway);
    QCOMPARE(f.child<QLineEdit>("Edit1")->text(), QStringLiteral("admin"));
    QVERIFY(f.form->isVisible());
    QVERIFY(f.idleButtons());
    QVERIFY(f.requestsBeforeMarker().isEmpty());
    QVERIFY(f.prober->asked.empty());
}

void Form3Test::search_data()
{
    QTest::addColumn<QString>("pcAddress");
    QTest::addColumn<QString>("pcMask");
    QTest::addColumn<QString>("pcGateway");
    QTest::addColumn<QStringList>("echoTaken");
    QTest::addColumn<QStringList>("arpTaken");
    QTest::addColumn<QString>("failOn");
    QTest::addColumn<int>("probes");
    QTest::addColumn<QString>("chosen"); // empty: nothing sent
    QTest::addColumn<QString>("message");

    QTest::newRow(".1 answers, .2 is free")
        << "192.168.1.37"
        << "255.255.255.0"
        << "192.168.1.1" << QStringList{"192.168.1.1"} << QStringList{} << "" << 2 << "192.168.1.2"
        << "";
    QTest::newRow("a host that only answers ARP is skipped")
        << "192.168.1.37"
        << "255.255.255.0"
        << "192.168.1.1" << QStringList{"192.168.1.1"} << QStringList{"192.168.1.2"} << "" << 3
        << "192.168.1.3"
        << "";
    QTest::newRow("upper half of a /25 searches its own half")
        << "192.168.1.200"
        << "255.255.255.128"
        << "192.168.1.254" << QStringList{} << QStringList{} << "" << 1 << "192.168.1.129"
        << "";
    QTest::newRow("every candidate of a /29 taken")
        << "192.168.1.2"
        << "255.255.255.248"
        << "192.168.1.1" << QStringList{"192.168.1.1", "192.168.1.2", "192.168.1.3", "192.168.1.4"}
        << QStringList{"192.168.1.5", "192.168.1.6"} << "" << 6 << ""
        << text(settings::messages::kNoFreeAddress);
    QTest::newRow("a probe error ends the attempt")
        << "192.168.1.37"
        << "255.255.255.0"
        << "192.168.1.1" << QStringList{"192.168.1.1"} << QStringList{} << "192.168.1.2" << 2 << ""
        << "Cannot allocate socket.";
}

void Form3Test::search()
{
    QFETCH(QString, pcAddress);
    QFETCH(QString, pcMask);
    QFETCH(QString, pcGateway);
    QFETCH(QStringList, echoTaken);
    QFETCH(QStringList, arpTaken);
    QFETCH(QString, failOn);
    QFETCH(int, probes);
    QFETCH(QString, chosen);
    QFETCH(QString, message);

    Fixture f(true, qPrintable(pcAddress), qPrintable(pcMask), qPrintable(pcGateway));
    for (const QString& a : echoTaken)
        f.prober->taken.insert(a.toStdString());
    for (const QString& a : arpTaken)
        f.arpTaken.insert(a.toStdString());
    f.prober->failOn = failOn.toStdString();
    f.unit.answer = QByteArray("0C02R") + kIdentity + "2";
    MessageBoxCatcher boxes;
    f.form->show();
    f.child<QLineEdit>("Edit1")->setText(QStringLiteral("admin"));
    f.child<platform::SecretEdit>("Edit2")->type(u"pw");

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(f.child<QPushButton>("Button1"), Qt::LeftButton);
    const qint64 searchMs = clock.elapsed();

    QCOMPARE(int(f.prober->asked.size()), probes);
    QCOMPARE(f.prober->lastTimeout, 100);
    // Each probe that ends normally is followed by its 500 ms pause.
    const int pauses = failOn.isEmpty() ? probes : probes - 1;
    QVERIFY2(searchMs >= pauses * 500 - 20, qPrintable(QString::number(searchMs)));
    if (chosen.isEmpty()) {
        QTRY_COMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.boxes().first().title, text("エラー"));
        QVERIFY(f.idleButtons());
        QVERIFY(f.form->isVisible());
        QCOMPARE(f.form->phase(), Form3::Phase::Idle);
        QVERIFY(f.requestsBeforeMarker().isEmpty());
        QVERIFY(!f.form->exchange().isOpen());
        return;
    }
    QTRY_COMPARE(f.unit.requests.size(), 1);
    QCOMPARE(f.unit.requests.first(), QByteArray("0C02S") + kIdentity + chosen.toLatin1() + ";" +
                                          pcMask.toLatin1() + ";" + pcGateway.toLatin1() +
                                          ";MRV7K2;WORKGROUP;;admin;pw");
    QTRY_VERIFY(!f.form->isVisible());
    QCOMPARE(f.form->result(), int(QDialog::Accepted));
    QCOMPARE(boxes.texts(), QStringList{text("NASセットアップ成功")});
}

void Form3Test::exchange_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("holdPort");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("requests");

    const QByteArray id(kIdentity);
    QTest::newRow("accepted") << "0C02R" + id + "2tail"
                              << "pw" << false << "OK" << text("NASセットアップ成功") << 1;
    QTest::newRow("refused") << "0C02R" + id + "0"
                             << "wrong" << false << "Error" << text("NASセットアップ失敗") << 1;
    QTest::newRow("only foreign replies: time-out")
        << QByteArray("0C02R00:11:22:AA:BB:CD2") << "pw" << false << "Error"
        << text("NASセットアップ失敗") << 1;
    QTest::newRow("no answer: time-out")
        << QByteArray() << "pw" << false << "Error" << text("NASセットアップ失敗") << 1;
    QTest::newRow("credentials too long")
        << QByteArray() << QString(1100, 'p') << false << text("エラー")
        << text(settings::messages::kCredentialsTooLong) << 0;
    QTest::newRow("reply port in use") << QByteArray() << "pw" << true << text("エラー")
                                       << text("UDPポート12310を使用できません。\n他のプログラムが"
                                               "使用していないか確認してください。")
                                       << 0;
}

void Form3Test::exchange()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, password);
    QFETCH(bool, holdPort);
    QFETCH(QString, title);
    QFETCH(QString, message);
    QFETCH(int, requests);

    Fixture f(false);
    f.unit.answer = answer;
    QUdpSocket holder;
    if (holdPort)
        QVERIFY(holder.bind(QHostAddress::LocalHost, f.unit.replyPort));
    MessageBoxCatcher boxes;
    f.form->show();
    f.form->Timer1()->setInterval(400); // the 30 s wait, shortened
    QTest::keyClicks(f.child<QLineEdit>("Edit1"), QStringLiteral("admin"));
    QTest::keyClicks(f.child<platform::SecretEdit>("Edit2"), password);
    QTest::mouseClick(f.child<QPushButton>("Button1"), Qt::LeftButton);

    QTRY_COMPARE(boxes.texts(), QStringList{message});
    QCOMPARE(boxes.boxes().first().title, title);
    QVERIFY(!boxes.boxes().first().hadParent);
    QCOMPARE(f.unit.requests.size(), requests);
    QVERIFY(!f.form->exchange().isOpen());
    QCOMPARE(f.form->phase(), Form3::Phase::Idle);
    const bool success = title == QLatin1String("OK");
    QTRY_COMPARE(f.form->isVisible(), !success);
    if (success) {
        QCOMPARE(f.form->result(), int(QDialog::Accepted));
        // The closed dialog holds no credentials until it opens again.
        QVERIFY(noTypedTextLeft(f.child<QLineEdit>("Edit1")));
        QVERIFY(noTypedTextLeft(f.child<platform::SecretEdit>("Edit2")));
        return;
    }
    QVERIFY(f.idleButtons());
    QCOMPARE(f.child<QProgressBar>("ProgressBar1")->value(), 0);
    if (requests > 0)
        QCOMPARE(f.form->Timer1()->interval(), 30000);
    // The field takes at most a request's worth; what it took stays as typed.
    QCOMPARE(f.child<platform::SecretEdit>("Edit2")->text().toString(),
             password.left(qsizetype(platform::SecretEdit::kCapacity)));
    QCOMPARE(f.form->focusWidget(), f.child<QWidget>("Button1"));
}

// The arrow keys switch the mode and leave the focus in the address, ready
// to be typed over; Return presses the focused button.
void Form3Test::keyboardAlone()
{
    Fixture f(true);
    MessageBoxCatcher boxes;
    f.form->show();
    QVERIFY(QTest::qWaitForWindowActive(f.form));
    auto* automatic = f.child<QRadioButton>("RBtnAutoAssignIP");
    automatic->setFocus(Qt::TabFocusReason);
    QTest::keyClick(automatic, Qt::Key_Down);
    QTRY_VERIFY(f.child<QRadioButton>("RBtnManualSetupIP")->isChecked());
    QTRY_VERIFY(f.control("IPAddressControl")->isAncestorOf(QApplication::focusWidget()));
    const auto* first = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(first && first->selectedText() == first->text() && !first->text().isEmpty());

    QTest::keyClicks(f.child<QLineEdit>("Edit1"), QStringLiteral("admin"));
    auto* ok = f.child<QPushButton>("Button1");
    ok->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ok, Qt::Key_Return);
    QTRY_COMPARE(f.unit.requests.size(), 1);
}

// While the answer is awaited the dialog cannot be left or restarted.
void Form3Test::busyState()
{
    Fixture f(false);
    MessageBoxCatcher boxes;
    f.form->show();
    f.form->Timer1()->setInterval(1500);
    QTest::mouseClick(f.child<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(f.form->phase(), Form3::Phase::Awaiting);
    QVERIFY(!f.child<QPushButton>("Button1")->isEnabled());
    QVERIFY(!f.child<QPushButton>("Button2")->isEnabled());
    QVERIFY(f.child<QProgressBar>("ProgressBar1")->isVisible());
    QTest::keyClick(f.form, Qt::Key_Escape);
    f.form->close();
    QVERIFY(f.form->isVisible());
    // The bar moves one step per 300 ms.
    QTRY_VERIFY(f.child<QProgressBar>("ProgressBar1")->value() >= 3);
    QTRY_COMPARE(boxes.texts(), QStringList{text("NASセットアップ失敗")});
    QCOMPARE(f.unit.requests.size(), 1);
}

QTEST_MAIN(Form3Test)
#include "Form3Test.moc"
