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
#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <future>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/time.h>
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

// Ends the child however the test ends: a failed check returns early.
struct ChildGuard
{
    pid_t pid;
    ~ChildGuard()
    {
        if (pid > 0)
            kill9(pid);
    }
};

// A later start runs in a process of its own and waits for the holder's
// answer; here it runs in a thread of its own while this thread's event loop
// serves as the holder's. Bounded by the claim's own time limit.
struct LaterStart
{
    Outcome outcome;
    bool listening;
};

LaterStart claimElsewhere(const QString& title, const QString& launchToken = {})
{
    auto later = std::async(std::launch::async, [title, launchToken] {
        SingleInstance start(title);
        const Outcome outcome = start.claim(launchToken);
        return LaterStart{outcome, start.isListening()};
    });
    for (int i = 0;
         i < 1000 && later.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready; ++i)
        QTest::qWait(5);
    return later.get();
}

int openDescriptors()
{
    int n = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (const dirent* entry = ::readdir(dir))
            n += entry->d_name[0] != '.';
        ::closedir(dir);
        --n; // the listing's own
    }
    return n;
}

double cpuSeconds()
{
    rusage use{};
    ::getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

// A child (as user uid, when given) that opens up to count connections to
// the name, sends nothing on them and holds them until killed. Its count of
// connections made comes back on *report as one int once it is done.
pid_t forkIdleClients(const QString& name, int count, int* report, uid_t uid = uid_t(-1))
{
    int done[2];
    if (::pipe2(done, O_CLOEXEC) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        rlimit files{};
        ::getrlimit(RLIMIT_NOFILE, &files);
        files.rlim_cur = files.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &files);
        if (uid != uid_t(-1) && ::setresuid(uid, uid, uid) != 0)
            ::_exit(1);
        const QByteArray bytes = name.toUtf8();
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, bytes.constData(), size_t(bytes.size()));
        const auto size = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(bytes.size()));
        const timeval limit{2, 0};
        int made = 0;
        for (int i = 0; i < count; ++i) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (fd < 0)
                break;
            ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
            if (::connect(fd, reinterpret_cast<sockaddr*>(&address), size) == 0)
                ++made;
        }
        (void)!::write(done[1], &made, sizeof made);
        for (;;)
            ::pause();
    }
    ::close(done[1]);
    *report = done[0];
    return pid;
}

struct FloodFigures
{
    int made = -1;
    int mostDescriptors = 0;
    qint64 longestStallMs = 0;
};

// Runs the event loop until the idle clients report back (at most 60 s),
// watching the holder's descriptors and how long the loop is kept from a
// 10 ms timer.
FloodFigures endureFlood(int report)
{
    FloodFigures figures;
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        figures.longestStallMs = std::max(figures.longestStallMs, sinceTick.restart());
        figures.mostDescriptors = std::max(figures.mostDescriptors, openDescriptors());
    });
    tick.start(10);
    ::fcntl(report, F_SETFL, O_NONBLOCK);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60000 && ::read(report, &figures.made, sizeof figures.made) <= 0)
        QTest::qWait(20);
    ::close(report);
    return figures;
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
    void idleConnectionsNeitherExhaustNorBlockTheHolder();
    void holderOutOfDescriptorsRestsInsteadOfSpinning();
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

    const LaterStart second = claimElsewhere(title);
    QCOMPARE(second.outcome, Outcome::OtherNotified);
    QVERIFY(!second.listening);
    QTRY_COMPARE_WITH_TIMEOUT(activations.count(), 1, 3000);

    // A third start is just like the second, and the first keeps the name.
    QCOMPARE(claimElsewhere(title).outcome, Outcome::OtherNotified);
    QTRY_COMPARE_WITH_TIMEOUT(activations.count(), 2, 3000);
    QVERIFY(first.isListening());
    QCOMPARE(activations.last().constFirst().toString(), QString());

    // A launcher's activation token travels to the holder.
    QCOMPARE(claimElsewhere(title, QStringLiteral("sway/launcher-7")).outcome,
             Outcome::OtherNotified);
    QTRY_COMPARE_WITH_TIMEOUT(activations.count(), 3, 3000);
    QCOMPARE(activations.last().constFirst().toString(), QStringLiteral("sway/launcher-7"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

void SingleInstanceTest::killedHolderLeavesNothingToRecover()
{
    const QString title = uniqueTitle();
    SingleInstance probe(title);
    const pid_t holder = forkHolder(probe.serverName());
    QVERIFY(holder > 0);
    // The held name is really the one a start claims; a holder that never
    // answers does not keep the start from running (without the name).
    SingleInstance whileAlive(title);
    QCOMPARE(whileAlive.claim(), Outcome::Primary);
    QVERIFY(!whileAlive.isListening());

    kill9(holder);
    SingleInstance restarted(title);
    QSignalSpy activations(&restarted, &SingleInstance::activationRequested);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(restarted.claim(), Outcome::Primary);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(claimElsewhere(title).outcome, Outcome::OtherNotified);
    QTRY_VERIFY_WITH_TIMEOUT(!activations.isEmpty(), 3000);
}

void SingleInstanceTest::holderThatNeverAnswersIsGivenUpBoundedly()
{
    // A holder that bound the name but never listens (a squatter of our own
    // user, or one stuck): the later start must not wait long and must run.
    const QString title = uniqueTitle();
    SingleInstance later(title);
    const int stuck = bindAbstract(later.serverName(), false);
    QVERIFY(stuck >= 0);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(later.claim(), Outcome::Primary);
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
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
    QCOMPARE(claimElsewhere(title).outcome, Outcome::OtherNotified);
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

void SingleInstanceTest::idleConnectionsNeitherExhaustNorBlockTheHolder()
{
    const QString title = uniqueTitle();
    SingleInstance first(title);
    QCOMPARE(first.claim(), Outcome::Primary);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    const int before = openDescriptors();

    QList<uid_t> users{uid_t(-1)};
    if (::geteuid() == 0)
        users << 65534;
    for (const uid_t uid : users) {
        int report = -1;
        const ChildGuard clients{forkIdleClients(first.serverName(), 2000, &report, uid)};
        QVERIFY(clients.pid > 0);
        const FloodFigures flood = endureFlood(report);
        qInfo("uid %d: %d connections made, at most %d descriptors (%d before), longest stall "
              "%lld ms",
              int(uid), flood.made, flood.mostDescriptors, before, flood.longestStallMs);
        QCOMPARE(flood.made, 2000); // every one was taken (and dropped), none left hanging
        QVERIFY(flood.mostDescriptors <= before + 12);
        QVERIFY(flood.longestStallMs < 500);

        // Held idle, they still cost the holder nothing, and a genuine start
        // is served once the readers' second has passed.
        QTest::qWait(1200);
        QVERIFY(openDescriptors() <= before + 2);
        QCOMPARE(claimElsewhere(title).outcome, Outcome::OtherNotified);
        QTRY_VERIFY_WITH_TIMEOUT(!activations.isEmpty(), 3000);
        activations.clear();
    }
}

void SingleInstanceTest::holderOutOfDescriptorsRestsInsteadOfSpinning()
{
    const QString title = uniqueTitle();
    SingleInstance first(title);
    QCOMPARE(first.claim(), Outcome::Primary);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    // Room for the report pipe and two readers, then no more.
    rlimit tight = saved;
    tight.rlim_cur = rlim_t(openDescriptors() + 4);
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    int report = -1;
    const ChildGuard clients{forkIdleClients(first.serverName(), 6, &report)};
    QVERIFY(clients.pid > 0);
    QTest::qWait(300); // the clients are connected and waiting in the backlog
    const double cpuBefore = cpuSeconds();
    QTest::qWait(1000);
    const double busy = cpuSeconds() - cpuBefore;
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    qInfo("out of descriptors: %.3f s of CPU in 1 s", busy);
    QVERIFY(busy < 0.3);

    const FloodFigures flood = endureFlood(report);
    QCOMPARE(flood.made, 6);
    QTest::qWait(1200);
    QCOMPARE(claimElsewhere(title).outcome, Outcome::OtherNotified);
    QTRY_VERIFY_WITH_TIMEOUT(!activations.isEmpty(), 3000);
}

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
