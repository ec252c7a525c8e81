// The single-instance rule inside one process: two claimants on the same
// directory behave like two starts of the program.

#include "platform/net/SingleInstance.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using platform::SingleInstance;
using Outcome = SingleInstance::Outcome;

namespace {

const QString kName = QStringLiteral("MRV-7K2");

// A socket file with nobody behind it, as a killed holder leaves it.
bool makeDeadSocketFile(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    if (native.size() >= int(sizeof(address.sun_path)))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                       ::listen(fd, 1) == 0;
    ::close(fd);
    return bound && QFile::exists(path);
}

// The id of a process that has already ended.
qint64 deadProcessId()
{
    QProcess process;
    process.start(QStringLiteral("/bin/true"), {});
    if (!process.waitForStarted(5000))
        return -1;
    const qint64 pid = process.processId();
    if (!process.waitForFinished(5000))
        return -1;
    return pid > 0 ? pid : -1;
}

} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void secondStartNotifiesTheFirst();
    void staleLeftoversOfAKilledHolder_data();
    void staleLeftoversOfAKilledHolder();
    void holderThatNeverAnswersIsGivenUpBoundedly();
    void onlyTheExactRequestActivates_data();
    void onlyTheExactRequestActivates();
    void endingTheHolderFreesTheName();
};

void SingleInstanceTest::secondStartNotifiesTheFirst()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    SingleInstance first(kName, dir.path());
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    QCOMPARE(first.claim(), Outcome::Primary);
    QVERIFY(QFile::exists(first.lockFilePath()));

    SingleInstance second(kName, dir.path());
    QCOMPARE(second.claim(), Outcome::OtherNotified);
    QVERIFY(activations.wait(3000));
    QCOMPARE(activations.count(), 1);

    // A third start is just like the second, and the first keeps the lock.
    SingleInstance third(kName, dir.path());
    QCOMPARE(third.claim(), Outcome::OtherNotified);
    QTRY_COMPARE_WITH_TIMEOUT(activations.count(), 2, 3000);
    QVERIFY(QFile::exists(first.lockFilePath()));
}

void SingleInstanceTest::staleLeftoversOfAKilledHolder_data()
{
    QTest::addColumn<bool>("staleLock");
    QTest::addColumn<bool>("staleSocket");
    QTest::newRow("lock of a dead process") << true << false;
    QTest::newRow("socket file without listener") << false << true;
    QTest::newRow("both") << true << true;
}

void SingleInstanceTest::staleLeftoversOfAKilledHolder()
{
    QFETCH(bool, staleLock);
    QFETCH(bool, staleSocket);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    SingleInstance probe(kName, dir.path());
    if (staleLock) {
        const qint64 pid = deadProcessId();
        QVERIFY(pid > 0);
        QFile lock(probe.lockFilePath());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(pid) + "\nmrv7k2-setup\n" +
                   QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
    }
    if (staleSocket)
        QVERIFY(makeDeadSocketFile(probe.serverPath()));

    SingleInstance restarted(kName, dir.path());
    QSignalSpy activations(&restarted, &SingleInstance::activationRequested);
    QCOMPARE(restarted.claim(), Outcome::Primary);

    // The restarted holder really listens: a later start reaches it.
    SingleInstance later(kName, dir.path());
    QCOMPARE(later.claim(), Outcome::OtherNotified);
    QVERIFY(activations.wait(3000));
}

void SingleInstanceTest::holderThatNeverAnswersIsGivenUpBoundedly()
{
    // A live holder (this process) whose server is not up: the later start
    // must neither take over nor wait without end.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    SingleInstance probe(kName, dir.path());
    QLockFile holder(probe.lockFilePath());
    QVERIFY(holder.tryLock(0));

    SingleInstance later(kName, dir.path());
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(later.claim(), Outcome::OtherUnreachable);
    QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(holder.isLocked());
}

void SingleInstanceTest::onlyTheExactRequestActivates_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("activates");
    QTest::newRow("request") << QByteArray("activate\n") << true;
    QTest::newRow("request with trailing junk") << QByteArray("activate\nxxxxxxxxxxxxxxxx") << true;
    QTest::newRow("wrong word") << QByteArray("activatE\n") << false;
    QTest::newRow("short") << QByteArray("activ") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("long junk") << QByteArray(4096, 'a') << false;
}

void SingleInstanceTest::onlyTheExactRequestActivates()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, activates);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    SingleInstance first(kName, dir.path());
    QCOMPARE(first.claim(), Outcome::Primary);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    QLocalSocket client;
    client.connectToServer(first.serverPath());
    QVERIFY(client.waitForConnected(2000));
    if (!bytes.isEmpty()) {
        client.write(bytes);
        QVERIFY(client.waitForBytesWritten(2000));
    }
    client.disconnectFromServer();
    QTest::qWait(300);
    QCOMPARE(activations.count(), activates ? 1 : 0);

    // Whatever came before, the holder still serves the next start.
    SingleInstance later(kName, dir.path());
    QCOMPARE(later.claim(), Outcome::OtherNotified);
    QTRY_COMPARE_WITH_TIMEOUT(activations.count(), activates ? 2 : 1, 3000);
}

void SingleInstanceTest::endingTheHolderFreesTheName()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    {
        SingleInstance first(kName, dir.path());
        QCOMPARE(first.claim(), Outcome::Primary);
    }
    SingleInstance next(kName, dir.path());
    QCOMPARE(next.claim(), Outcome::Primary);
}

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
