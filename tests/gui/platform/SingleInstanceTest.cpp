// The single-instance rule inside one process: two claimants of the same
// title behave like two starts of the program. Each test uses a title of its
// own, so that nothing here meets a real instance.

#include "platform/net/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::SingleInstance;
using Outcome = SingleInstance::Outcome;

namespace {

QString uniqueTitle()
{
    static int n = 0;
    return QStringLiteral("MRV-7K2-test-%1-%2").arg(::getpid()).arg(++n);
}

// A raw socket bound to an abstract name, listening or not, as another
// process (or one stuck before it listens) would hold it.
int bindAbstract(const QString& name, bool listening)
{
    const QByteArray bytes = name.toUtf8();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, bytes.constData(), size_t(bytes.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const auto size = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(bytes.size()));
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        (listening && ::listen(fd, 4) != 0)) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

// A child process that holds the name (as user uid, when given) until killed.
pid_t forkHolder(const QString& name, uid_t uid = uid_t(-1))
{
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (uid != uid_t(-1) && ::setresuid(uid, uid, uid) != 0)
            ::_exit(1);
        const int fd = bindAbstract(name, true);
        const char ok = fd >= 0 ? '1' : '0';
        (void)!::write(ready[1], &ok, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char ok = '0';
    (void)!::read(ready[0], &ok, 1);
    ::close(ready[0]);
    return ok == '1' ? pid : -1;
}

void kill9(pid_t pid)
{
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void secondStartNotifiesTheFirstAndNothingIsWritten();
    void killedHolderLeavesNothingToRecover();
    void holderThatNeverAnswersIsGivenUpBoundedly();
    void nameHeldByAnotherUserIsNotOurInstance();
    void onlyTheExactRequestActivates_data();
    void onlyTheExactRequestActivates();
    void endingTheHolderFreesTheName();
};

void SingleInstanceTest::secondStartNotifiesTheFirstAndNothingIsWritten()
{
    // Both places a lock or socket file would go point at one empty folder.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    qputenv("TMPDIR", dir.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());

    const QString title = uniqueTitle();
    SingleInstance first(title);
    QVERIFY(first.serverName().startsWith(title + QLatin1Char('-')));
    QCOMPARE(first.serverName(), title + QLatin1Char('-') + QString::number(::geteuid()));
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    QCOMPARE(first.claim(), Outcome::Primary);
    QVERIFY(first.isListening());

    SingleInstance second(title);
    QCOMPARE(second.claim(), Outcome::OtherNotified);
    QVERIFY(!second.isListening());
    QVERIFY(activations.wait(3000));
    QCOMPARE(activations.count(), 1);

    // A third start is just like the second, and the first keeps the name.
    SingleInstance third(title);
    QCOMPARE(third.claim(), Outcome::OtherNotified);
    QTRY_COMPARE_WITH_TIMEOUT(activations.count(), 2, 3000);
    QVERIFY(first.isListening());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

void SingleInstanceTest::killedHolderLeavesNothingToRecover()
{
    const QString title = uniqueTitle();
    SingleInstance probe(title);
    const pid_t holder = forkHolder(probe.serverName());
    QVERIFY(holder > 0);
    // The held name is really the one a start claims.
    SingleInstance whileAlive(title);
    QCOMPARE(whileAlive.claim(), Outcome::OtherNotified);

    kill9(holder);
    SingleInstance restarted(title);
    QSignalSpy activations(&restarted, &SingleInstance::activationRequested);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(restarted.claim(), Outcome::Primary);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    SingleInstance later(title);
    QCOMPARE(later.claim(), Outcome::OtherNotified);
    QVERIFY(activations.wait(3000));
}

void SingleInstanceTest::holderThatNeverAnswersIsGivenUpBoundedly()
{
    // A holder that bound the name but never listens: the later start must
    // neither take over nor wait without end.
    const QString title = uniqueTitle();
    SingleInstance later(title);
    const int stuck = bindAbstract(later.serverName(), false);
    QVERIFY(stuck >= 0);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(later.claim(), Outcome::OtherUnreachable);
    QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!later.isListening());
    ::close(stuck);
}

void SingleInstanceTest::nameHeldByAnotherUserIsNotOurInstance()
{
    if (::geteuid() != 0)
        QSKIP("needs root to hold the name as another user");
    const QString title = uniqueTitle();
    SingleInstance start(title);
    const pid_t squatter = forkHolder(start.serverName(), 65534);
    QVERIFY(squatter > 0);
    // It is not asked to come forward, and this start does not give up.
    QCOMPARE(start.claim(), Outcome::Primary);
    QVERIFY(!start.isListening());
    kill9(squatter);
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
    const QString title = uniqueTitle();
    SingleInstance first(title);
    QCOMPARE(first.claim(), Outcome::Primary);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    QLocalSocket client;
    client.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    client.connectToServer(first.serverName());
    QVERIFY(client.waitForConnected(2000));
    if (!bytes.isEmpty()) {
        client.write(bytes);
        QVERIFY(client.waitForBytesWritten(2000));
    }
    client.disconnectFromServer();

    // Whatever came before, the holder still serves the next start. Its
    // connection queues behind this one, whose bytes are read first: once
    // the next start's request is in, an activation by these would be too.
    SingleInstance later(title);
    QCOMPARE(later.claim(), Outcome::OtherNotified);
    QTRY_COMPARE_WITH_TIMEOUT(activations.count(), activates ? 2 : 1, 3000);
}

void SingleInstanceTest::endingTheHolderFreesTheName()
{
    const QString title = uniqueTitle();
    {
        SingleInstance first(title);
        QCOMPARE(first.claim(), Outcome::Primary);
    }
    SingleInstance next(title);
    QCOMPARE(next.claim(), Outcome::Primary);
    QVERIFY(next.isListening());
}

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
