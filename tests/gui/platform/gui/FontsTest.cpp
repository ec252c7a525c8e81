// The forms' Japanese face names must end on a Windows Gothic face (by its
// Japanese or English name) or else on the IPA one, with every glyph of the
// program's texts, not on a fallback face or boxes.

#include "platform/gui/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>
#include <algorithm>

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
    platform::installFontSubstitutions();
}

void FontsTest::facesResolve_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<QStringList>("faces"); // the first one installed is expected
    QTest::addColumn<QString>("sample");
    const QStringList proportional{platform::kProportionalGothic, "MS PGothic", "IPAPGothic"};
    const QStringList fixed{platform::kFixedGothic, "MS Gothic", "IPAGothic"};
    const QString guide = QStringLiteral("本製品をご利用いただきありがとうございます。"
                                         "電源/ステータスLEDは、ブート中に点滅します。");
    QTest::newRow("proportional, window default")
        << platform::kProportionalGothic << 13 << proportional << guide;
    QTest::newRow("fixed, buttons") << platform::kFixedGothic << 13 << fixed
                                    << QStringLiteral("NAS更新 共有を開く 閉じる 先に 次へ 設定");
    QTest::newRow("fixed, search window")
        << platform::kFixedGothic << 16 << fixed << QStringLiteral("NAS検索...");
}

void FontsTest::facesResolve()
{
    QFETCH(QString, face);
    QFETCH(int, pixels);
    QFETCH(QStringList, faces);
    QFETCH(QString, sample);
    const QStringList installed = QFontDatabase::families();
    const auto found = std::find_if(faces.begin(), faces.end(),
                                    [&](const QString& f) { return installed.contains(f); });
    if (found == faces.end())
        QSKIP("neither the Windows nor the IPA Gothic faces are installed");
    const QString expected = *found;
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
