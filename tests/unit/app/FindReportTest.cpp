// mrv7k2-find's table shows a unit's texts as characters a terminal only
// prints: a forged reply cannot retitle, clear or write the clipboard.

#include "app/FindReport.h"

#include "discovery/core/DiscoveryReply.h"

#include <QTest>

class FindReportTest : public QObject
{
    Q_OBJECT

private slots:
    void controlsBecomeVisibleEscapes();
};

void FindReportTest::controlsBecomeVisibleEscapes()
{
    QCOMPARE(visibleText(u"a\u202Eb\u0085c\u007F\\d\u2066\u2028e\u00E9\u7D4C"),
             QStringLiteral("a\\u202eb\\x85c\\x7f\\\\d\\u2066\\u2028e\u00E9\u7D4C"));

    static discovery::DeviceTable table{};
    const discovery::PcNetworkValues pc{};
    // Host: an OSC 52 clipboard write; disk model: clear screen, DEL, a
    // backslash, C1 bytes and a lone CP932 lead byte at its end.
    const QByteArray reply("0C01R00:11:22:33:44:55'192.168.1.20'"
                           "'255.255.255.0''192.168.1.1'"
                           "'\x1b]52;c;QQ==\x07''W''x''\x1b[2J\x7f\\z\x80\x9b\x85\x82''1''8''4'");
    discovery::ParseDiscoveryReply(reinterpret_cast<const unsigned char*>(reply.constData()),
                                   static_cast<std::size_t>(reply.size()), table, "255.255.255.0");
    QCOMPARE(table.DeviceCount, 1);

    const QString shown = findReportTable({pc, table});
    for (const QChar ch : shown) {
        const char16_t c = ch.unicode();
        QVERIFY2(c == u'\n' ||
                     !(c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E)),
                 qPrintable(QString::number(c, 16)));
    }
    QVERIFY(shown.contains(QStringLiteral("\\x1b]52;c;QQ==\\x07")));
    QVERIFY(shown.contains(QStringLiteral("\\x1b[2J\\x7f\\\\z")));
    // The JSON for scripts already escapes what it carries.
    QVERIFY(!findReportJson({pc, table}).contains('\x1b'));
}

QTEST_GUILESS_MAIN(FindReportTest)
#include "FindReportTest.moc"
