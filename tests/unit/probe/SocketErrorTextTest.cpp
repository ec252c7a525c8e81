// The texts of the client's errors, and the system error numbers behind them.

#include "platform/os/IcmpSocket.h"
#include "probe/core/EIcmpException.h"
#include "probe/core/EInvalidSocket.h"
#include "probe/core/ENotAllBytesSent.h"
#include "probe/core/EPackageSizeTooBig.h"
#include "probe/core/ESocketError.h"

#include <QTest>
#include <cerrno>

using namespace probe;

class SocketErrorTextTest : public QObject
{
    Q_OBJECT

private slots:
    void socketErrorMessages_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("first") << 10004
                               << QByteArray("Socket Error # 10004\r\nInterrupted system call.");
        QTest::newRow("access") << 10013 << QByteArray("Socket Error # 10013\r\nAccess denied.");
        // This one text ends in a blank.
        QTest::newRow("would block")
            << 10035 << QByteArray("Socket Error # 10035\r\nOperation would block. ");
        QTest::newRow("last, no full stop")
            << 10066 << QByteArray("Socket Error # 10066\r\nDirectory not empty");
        QTest::newRow("gap in the table") << 10067 << QByteArray("Socket Error # 10067\r\n");
        QTest::newRow("unknown") << 0 << QByteArray("Socket Error # 0\r\n");
        QTest::newRow("negative") << -5 << QByteArray("Socket Error # -5\r\n");
        QTest::newRow("failed lookup")
            << 11001 << QByteArray("Socket Error # 11001\r\nHost not found.");
    }
    void socketErrorMessages()
    {
        QFETCH(int, code);
        const ESocketError error(code);
        QTEST(QByteArray(error.what()), "message");
        QCOMPARE(error.code(), code);
    }

    void fixedTexts()
    {
        QCOMPARE(QByteArray(EInvalidSocket().what()), QByteArray("Cannot allocate socket."));
        QCOMPARE(QByteArray(EPackageSizeTooBig().what()), QByteArray("Package Size Too Big."));
        QCOMPARE(QByteArray(ENotAllBytesSent().what()), QByteArray("Not all bytes sent."));
        QCOMPARE(QByteArray(EIcmpException::from(DecodeError::NotEnoughBytes).what()),
                 QByteArray("Not enough bytes received"));
        QCOMPARE(QByteArray(EIcmpException::from(DecodeError::NonEchoType).what()),
                 QByteArray("Non-echo type response received"));
        // One handler catches them all.
        try {
            throw ESocketError(10013);
        } catch (const NetComponentError& e) {
            QVERIFY(QByteArray(e.what()).startsWith("Socket Error # 10013"));
        }
    }

    void systemErrorsMapToWindowsSocketsCodes_data()
    {
        QTest::addColumn<int>("errorNumber");
        QTest::addColumn<int>("code");
        QTest::newRow("EINTR") << EINTR << 10004;
        QTest::newRow("EACCES") << EACCES << 10013;
        QTest::newRow("EPERM") << EPERM << 10013;
        QTest::newRow("EINVAL") << EINVAL << 10022;
        QTest::newRow("EAGAIN") << EAGAIN << 10035;
        QTest::newRow("EMSGSIZE") << EMSGSIZE << 10040;
        QTest::newRow("ENETUNREACH") << ENETUNREACH << 10051;
        QTest::newRow("ENOBUFS") << ENOBUFS << 10055;
        QTest::newRow("ENOMEM") << ENOMEM << 10055;
        QTest::newRow("EHOSTUNREACH") << EHOSTUNREACH << 10065;
        // Numbered differently from the BSD order the codes follow.
        QTest::newRow("ELOOP") << ELOOP << 10062;
        QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << 10063;
        QTest::newRow("ENOTEMPTY") << ENOTEMPTY << 10066;
        QTest::newRow("no equivalent") << ENOENT << ENOENT;
    }
    void systemErrorsMapToWindowsSocketsCodes()
    {
        QFETCH(int, errorNumber);
        QTEST(platform::windowsSocketsError(errorNumber), "code");
    }

    // Every mapped code has a text: the message never ends in an empty line
    // for an error the system can report on a socket.
    void mappedCodesHaveTexts()
    {
        for (int e : {EINTR,           EBADF,        EACCES,       EFAULT,       EINVAL,
                      EMFILE,          EAGAIN,       EINPROGRESS,  EALREADY,     ENOTSOCK,
                      EDESTADDRREQ,    EMSGSIZE,     EPROTOTYPE,   ENOPROTOOPT,  EPROTONOSUPPORT,
                      ESOCKTNOSUPPORT, EOPNOTSUPP,   EPFNOSUPPORT, EAFNOSUPPORT, EADDRINUSE,
                      EADDRNOTAVAIL,   ENETDOWN,     ENETUNREACH,  ENETRESET,    ECONNABORTED,
                      ECONNRESET,      ENOBUFS,      EISCONN,      ENOTCONN,     ESHUTDOWN,
                      ETOOMANYREFS,    ETIMEDOUT,    ECONNREFUSED, ELOOP,        ENAMETOOLONG,
                      EHOSTDOWN,       EHOSTUNREACH, ENOTEMPTY})
            QVERIFY2(!socketErrorText(platform::windowsSocketsError(e)).empty(),
                     qPrintable(QString::number(e)));
    }
};

QTEST_APPLESS_MAIN(SocketErrorTextTest)
#include "SocketErrorTextTest.moc"
