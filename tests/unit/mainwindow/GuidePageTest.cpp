// The guide's page moves, the page the scan's end chooses, and the guide
// texts joined by CR LF.

#include "mainwindow/core/GuidePage.h"

#include "mainwindow/core/GuideTexts.h"

#include <QtTest>

using namespace mainwindow;

class GuidePageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pageMoves_data();
    void pageMoves();
    void scanEndChoosesPage_data();
    void scanEndChoosesPage();
    void guideTexts_data();
    void guideTexts();
};

void GuidePageTest::pageMoves_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("afterNext");
    QTest::addColumn<bool>("nextScans");
    QTest::addColumn<bool>("nextOpensSettings");
    QTest::addColumn<int>("afterPre");
    QTest::newRow("0") << 0 << 0 << false << false << 0;
    QTest::newRow("1 start-up") << 1 << 2 << false << false << 1;
    QTest::newRow("2 welcome") << 2 << 3 << false << false << 1;
    QTest::newRow("3 power") << 3 << 4 << false << false << 2;
    QTest::newRow("4 network") << 4 << 5 << true << false << 3;
    QTest::newRow("5 list") << 5 << 6 << false << true << 4;
    QTest::newRow("6 settings") << 6 << 6 << false << true << 6;
    QTest::newRow("out of range") << 7 << 7 << false << false << 7;
    QTest::newRow("negative") << -1 << -1 << false << false << -1;
}

void GuidePageTest::pageMoves()
{
    QFETCH(int, from);
    QFETCH(int, afterNext);
    QFETCH(bool, nextScans);
    QFETCH(bool, nextOpensSettings);
    QFETCH(int, afterPre);
    const NextMove move = pageAfterNext(from);
    QCOMPARE(move.page, afterNext);
    QCOMPARE(move.startsScan, nextScans);
    QCOMPARE(move.opensSettings, nextOpensSettings);
    QCOMPARE(pageAfterPre(from), afterPre);
}

void GuidePageTest::scanEndChoosesPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("units");
    QTest::addColumn<int>("expected");
    QTest::newRow("start-up, none found: guide") << 1 << 0 << 2;
    QTest::newRow("start-up, units: list") << 1 << 2 << 5;
    QTest::newRow("list, none found: list") << 5 << 0 << 5;
    QTest::newRow("after settings: list") << 6 << 0 << 5;
    QTest::newRow("after settings, units") << 6 << 3 << 5;
}

void GuidePageTest::scanEndChoosesPage()
{
    QFETCH(int, page);
    QFETCH(int, units);
    QFETCH(int, expected);
    QCOMPARE(pageAtScanEnd(page, units), expected);
}

void GuidePageTest::guideTexts_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("welcome") << 1 << 3
                             << QStringLiteral("本製品をご利用いただきありがとうございます。")
                             << QStringLiteral("[次へ]をクリックして先に進んでください。");
    QTest::newRow("power") << 2 << 5 << QStringLiteral("電源コードをプラグに差し込んでください。")
                           << QStringLiteral("[Next]ボタンをクリックしてください。");
    QTest::newRow("network")
        << 3 << 3
        << QStringLiteral("ネットワーク機器に本製品とPCを接続してください。(スイッチやハブ)")
        << QStringLiteral("[次へ]をクリックしてください。");
    QTest::newRow("list") << 4 << 6 << QStringLiteral("NASが検出出来ない場合、")
                          << QStringLiteral("ネットワーク設定をするために、\"設定 or "
                                            "次へ\"をクリックしてください。");
}

void GuidePageTest::guideTexts()
{
    QFETCH(int, number);
    QFETCH(int, lines);
    QFETCH(QString, firstLine);
    QFETCH(QString, lastLine);
    const QString text = QString::fromStdString(guideText(number));
    QVERIFY(!text.endsWith(QLatin1Char('\n')));
    // Lines are joined by CR LF, and there is no lone CR or LF.
    const QStringList parts = text.split(QStringLiteral("\r\n"));
    QCOMPARE(parts.size(), lines);
    for (const QString& part : parts) {
        QVERIFY(!part.contains(QLatin1Char('\r')));
        QVERIFY(!part.contains(QLatin1Char('\n')));
    }
    QCOMPARE(parts.first(), firstLine);
    QCOMPARE(parts.last(), lastLine);
}

QTEST_APPLESS_MAIN(GuidePageTest)
#include "GuidePageTest.moc"
