// The forms' Japanese face names must end on the IPA faces with every glyph
// of the program's texts, not on a fallback face or boxes.

#include "platform/gui/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>

class FontsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void facesResolve_data();
    void facesResolve();
};

void FontsTest::initTestCase()
{
    const QStringList families = QFontDatabase::families();
    if (!families.contains(QStringLiteral("IPAPGothic")) ||
        !families.contains(QStringLiteral("IPAGothic")))
        QSKIP("the IPA Gothic fonts (fonts-ipafont-gothic) are not installed");
    platform::installFontSubstitutions();
}

void FontsTest::facesResolve_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("sample");
    const QString guide = QStringLiteral("本製品をご利用いただきありがとうございます。"
                                         "電源/ステータスLEDは、ブート中に点滅します。");
    QTest::newRow("proportional, window default")
        << platform::kProportionalGothic << 13 << "IPAPGothic" << guide;
    QTest::newRow("fixed, buttons") << platform::kFixedGothic << 13 << "IPAGothic"
                                    << QStringLiteral("NAS更新 共有を開く 閉じる 先に 次へ 設定");
    QTest::newRow("fixed, search window")
        << platform::kFixedGothic << 16 << "IPAGothic" << QStringLiteral("NAS検索...");
}

void FontsTest::facesResolve()
{
    QFETCH(QString, face);
    QFETCH(int, pixels);
    QFETCH(QString, expected);
    QFETCH(QString, sample);
    QFont font(face);
    font.setPixelSize(pixels);
    const QFontInfo info(font);
    QCOMPARE(info.family(), expected);
    QCOMPARE(info.pixelSize(), pixels);

    // Resolved directly, not through font merging: the face itself has the glyphs.
    const QFontMetrics metrics(font);
    for (const QChar c : sample)
        QVERIFY2(metrics.inFont(c), qPrintable(QStringLiteral("missing glyph %1").arg(c)));
}

QTEST_MAIN(FontsTest)
#include "FontsTest.moc"
