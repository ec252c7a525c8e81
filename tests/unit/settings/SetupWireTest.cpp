// The setup request as it goes on the wire and the recognition of the reply.

#include "settings/core/SetupReply.h"
#include "settings/core/SetupRequest.h"

#include <QTest>
#include <cstring>
#include <string>

using namespace settings;

namespace {

const std::string kIdentity = "00:11:22:AA:BB:CC";

SetupRequestFields baseFields()
{
    SetupRequestFields f;
    f.identity = kIdentity;
    f.address = "192.168.1.50";
    f.mask = "255.255.255.0";
    f.gateway = "192.168.1.1";
    f.hostName = "MRV7K2";
    f.hostAux = "WORKGROUP";
    f.userName = "admin";
    f.password = "secret";
    return f;
}

QByteArray build(const SetupRequestFields& f)
{
    char buffer[kSetupBufferSize];
    std::memset(buffer, 'x', sizeof buffer);
    const auto length = buildSetupRequest(f, buffer);
    if (!length)
        return {};
    // The text ends in a zero byte inside the buffer; it is not part of the request.
    if (buffer[*length] != '\0')
        return QByteArray("unterminated");
    return QByteArray(buffer, static_cast<qsizetype>(*length));
}

} // namespace

class SetupWireTest : public QObject
{
    Q_OBJECT

private slots:
    void requestBytes_data();
    void requestBytes();
    void requestLengthLimit();
    void replyMatch_data();
    void replyMatch();
};

void SetupWireTest::requestBytes_data()
{
    QTest::addColumn<QByteArray>("hostAux");
    QTest::addColumn<QByteArray>("userName");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray head = "0C02S00:11:22:AA:BB:CC192.168.1.50;255.255.255.0;192.168.1.1;MRV7K2;";
    QTest::newRow("ordinary") << QByteArray("WORKGROUP") << QByteArray("admin")
                              << QByteArray("secret") << head + "WORKGROUP;;admin;secret";
    QTest::newRow("empty second host value: three separators in a row")
        << QByteArray() << QByteArray("admin") << QByteArray("pw") << head + ";;admin;pw";
    QTest::newRow("empty credentials end in three separators")
        << QByteArray("WORKGROUP") << QByteArray() << QByteArray() << head + "WORKGROUP;;;";
    QTest::newRow("separator inside the password is sent as typed")
        << QByteArray("WORKGROUP") << QByteArray("admin") << QByteArray("a;b;c")
        << head + "WORKGROUP;;admin;a;b;c";
    // "管理者" in CP932.
    QTest::newRow("Japanese user name in CP932")
        << QByteArray("WORKGROUP") << QByteArray("\x8a\xc7\x97\x9d\x8e\xd2") << QByteArray("pw")
        << head + "WORKGROUP;;\x8a\xc7\x97\x9d\x8e\xd2;pw";
    QTest::newRow("a zero byte ends a field as it ends a C text")
        << QByteArray("WORKGROUP") << QByteArray("adm\0in", 6) << QByteArray("pw")
        << head + "WORKGROUP;;adm;pw";
}

void SetupWireTest::requestBytes()
{
    QFETCH(QByteArray, hostAux);
    QFETCH(QByteArray, userName);
    QFETCH(QByteArray, password);
    QFETCH(QByteArray, expected);

    SetupRequestFields f = baseFields();
    f.hostAux = {hostAux.constData(), static_cast<std::size_t>(hostAux.size())};
    f.userName = {userName.constData(), static_cast<std::size_t>(userName.size())};
    f.password = {password.constData(), static_cast<std::size_t>(password.size())};
    QCOMPARE(build(f), expected);
}

void SetupWireTest::requestLengthLimit()
{
    SetupRequestFields f = baseFields();
    f.password = {};
    const std::size_t fixedPart = build(f).size();

    // Exactly 1023 bytes fit with the terminating zero.
    std::string password(kSetupBufferSize - 1 - fixedPart, 'p');
    f.password = password;
    QCOMPARE(build(f).size(), qsizetype(kSetupBufferSize - 1));
    QVERIFY(build(f).endsWith("admin;" + QByteArray::fromStdString(password)));

    // One byte more is refused, and the buffer does not keep a partial request.
    password.push_back('p');
    f.password = password;
    char buffer[kSetupBufferSize];
    std::memset(buffer, 'x', sizeof buffer);
    QVERIFY(!buildSetupRequest(f, buffer).has_value());
    for (char c : buffer)
        QCOMPARE(c, '\0');

    // A very long user name is refused the same way, without touching past the buffer.
    const std::string hugeName(5000, 'u');
    f.password = "pw";
    f.userName = hugeName;
    QVERIFY(!buildSetupRequest(f, buffer).has_value());
}

void SetupWireTest::replyMatch_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QByteArray>("identity");
    QTest::addColumn<bool>("awaited");
    QTest::addColumn<bool>("accepted");

    const QByteArray id = QByteArray::fromStdString(kIdentity);
    QTest::newRow("accepted") << "0C02R" + id + "2" << id << true << true;
    QTest::newRow("accepted, trailing bytes ignored")
        << "0C02R" + id + "2garbage\x01\xff" << id << true << true;
    QTest::newRow("refused by another status") << "0C02R" + id + "0" << id << true << false;
    QTest::newRow("refused by a zero status byte")
        << "0C02R" + id + QByteArray(1, '\0') + "2" << id << true << false;
    QTest::newRow("exactly 22 bytes: no status, a refusal") << "0C02R" + id << id << true << false;
    QTest::newRow("another unit's identity")
        << QByteArray("0C02R00:11:22:AA:BB:CD2") << id << false << false;
    QTest::newRow("discovery reply") << "0C01R" + id + "2" << id << false << false;
    QTest::newRow("shorter than the prefix") << QByteArray("0C02R00:11") << id << false << false;
    QTest::newRow("empty datagram") << QByteArray() << id << false << false;
    // A record holding a shorter identity: the reply must end where it ends.
    QTest::newRow("short identity, reply ends with it")
        << QByteArray("0C02RABC") << QByteArray("ABC") << true << false;
    QTest::newRow("short identity, reply goes on")
        << QByteArray("0C02RABCD2") << QByteArray("ABC") << false << false;
}

void SetupWireTest::replyMatch()
{
    QFETCH(QByteArray, datagram);
    QFETCH(QByteArray, identity);
    QFETCH(bool, awaited);
    QFETCH(bool, accepted);

    char buffer[kSetupBufferSize] = {};
    std::memcpy(buffer, datagram.constData(), static_cast<std::size_t>(datagram.size()));
    const bool isAwaited = isAwaitedSetupReply(buffer, identity.toStdString());
    QCOMPARE(isAwaited, awaited);
    if (isAwaited)
        QCOMPARE(setupAccepted(buffer), accepted);
}

QTEST_APPLESS_MAIN(SetupWireTest)
#include "SetupWireTest.moc"
