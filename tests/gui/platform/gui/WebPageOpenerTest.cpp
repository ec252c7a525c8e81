// Under wine in the lab: the web page goes to the default browser, which wine
// hands to the host's xdg-open; the lab test puts a recording one on PATH and
// names its log in MRV_OPENER_LOG. Internet Explorer would never reach it
// (wine's own opens a window of its own).

#include "platform/gui/Opener.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>

class WebPageOpenerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensTheDefaultBrowser();
};

void WebPageOpenerTest::opensTheDefaultBrowser()
{
    const QString log = qEnvironmentVariable("MRV_OPENER_LOG");
    if (log.isEmpty())
        QSKIP("needs the recording opener of the wine lab test");
    const QString path = QStringLiteral("Z:") + log; // wine's drive for the host's /
    QFile::remove(path);
    QVERIFY(platform::openWebPage(QStringLiteral("192.168.1.20")));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > 0, 20000);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()).trimmed(), QStringLiteral("1|http://192.168.1.20/"));
}

QTEST_GUILESS_MAIN(WebPageOpenerTest)
#include "WebPageOpenerTest.moc"
