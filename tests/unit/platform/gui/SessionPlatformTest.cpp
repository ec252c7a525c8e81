// Which window system the program asks Qt for.

#include "platform/gui/SessionPlatform.h"

#include <QTest>

class SessionPlatformTest : public QObject
{
    Q_OBJECT

private slots:
    void x11IsAskedForOnlyWhereOfferedAndNotChosen()
    {
        QCOMPARE(platform::platformToRequest("", "wayland-0", ":0"), "xcb;wayland");
        QCOMPARE(platform::platformToRequest("wayland", "wayland-0", ":0"), "");
        QCOMPARE(platform::platformToRequest("", "wayland-0", ""), "");
        QCOMPARE(platform::platformToRequest("", "", ":0"), "");
    }
};

QTEST_APPLESS_MAIN(SessionPlatformTest)
#include "SessionPlatformTest.moc"
