// The desktop opener is replaced by a script on PATH that writes down what it
// was asked to open; nothing is really opened and nothing goes on the network.

#include "platform/gui/Opener.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/prctl.h>
#include <sys/wait.h>

class OpenerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void plainAddressesOnly_data();
    void plainAddressesOnly();
    void opensShareAndWebPage_data();
    void opensShareAndWebPage();

private:
    QTemporaryDir m_dir;
    QString m_log;
};

void OpenerTest::initTestCase()
{
    // The opener is started detached; as subreaper this process adopts it.
    QVERIFY(::prctl(PR_SET_CHILD_SUBREAPER, 1) == 0);
    QVERIFY(m_dir.isValid());
    m_log = m_dir.filePath(QStringLiteral("opened.log"));
    const QString script = m_dir.filePath(QStringLiteral("xdg-open"));
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$1\" >> \"" + QFile::encodeName(m_log) +
               "\"\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("PATH", QFile::encodeName(m_dir.path()) + ":/usr/bin:/bin");
}

void OpenerTest::plainAddressesOnly_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("plain");
    QTest::newRow("address") << "192.168.1.20"
                             << "192.168.1.20";
    QTest::newRow("leading zeros") << "192.168.001.020"
                                   << "192.168.1.20";
    QTest::newRow("part too large") << "192.168.1.256"
                                    << "";
    QTest::newRow("three parts") << "192.168.1"
                                 << "";
    QTest::newRow("port") << "192.168.1.20:80"
                          << "";
    QTest::newRow("user part") << "a@192.168.1.2"
                               << "";
    QTest::newRow("path") << "1.2.3.4/x"
                          << "";
    QTest::newRow("option") << "-1.2.3.4"
                            << "";
    QTest::newRow("host name") << "nas.local"
                               << "";
    QTest::newRow("trailing blank") << "1.2.3.4 "
                                    << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("fullwidth digits") << QStringLiteral("１９２.168.1.20") << "";
    QTest::newRow("arabic-indic digits") << QStringLiteral("\u0661.2.3.4") << "";
}

void OpenerTest::plainAddressesOnly()
{
    QFETCH(QString, address);
    QFETCH(QString, plain);
    QCOMPARE(platform::plainIpv4(address), plain);
}

void OpenerTest::opensShareAndWebPage_data()
{
    QTest::addColumn<bool>("share");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("logged");
    QTest::newRow("share") << true << "192.168.1.20" << true << "1|smb://192.168.1.20/";
    QTest::newRow("web page") << false << "192.168.1.20" << true << "1|http://192.168.1.20/";
    QTest::newRow("share of a bad address") << true << "1.2.3.4/../x" << false << "";
    QTest::newRow("web page of a bad address") << false << "evil.example" << false << "";
}

void OpenerTest::opensShareAndWebPage()
{
    QFETCH(bool, share);
    QFETCH(QString, address);
    QFETCH(bool, started);
    QFETCH(QString, logged);
    QFile::remove(m_log);
    const bool result = share ? platform::openShare(address) : platform::openWebPage(address);
    QCOMPARE(result, started);
    if (!started) {
        // An opener, once started, is this process's child until reaped
        // (see initTestCase): with no child at all, none was started.
        QCOMPARE(::waitpid(-1, nullptr, WNOHANG), pid_t(-1));
        QVERIFY(!QFile::exists(m_log));
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(m_log).size() > 0, 5000);
    QFile file(m_log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()).trimmed(), logged);
    // The opener has written its line and ends: reap it.
    QVERIFY(::waitpid(-1, nullptr, 0) > 0);
}

QTEST_GUILESS_MAIN(OpenerTest)
#include "OpenerTest.moc"
