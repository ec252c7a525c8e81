// The 44 device-list icons: sizes, that every picture can be told apart from
// the others, that the gauge moves visibly from one level to the next and that
// the outside-subnet block really looks different. A contact sheet of all 44
// is written to <temp>/mrv-art/unit-icons.png for a look.

#include "mainwindow/UnitIconArt.h"

#include <QDir>
#include <QPainter>
#include <QTest>

namespace {
int differingPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// Mean saturation (0..255) of the opaque pixels in the unit's part of the icon.
double unitSaturation(const QImage& icon)
{
    double sum = 0;
    int count = 0;
    for (int y = 0; y < 45; ++y) {
        for (int x = 0; x < 45; ++x) {
            const QColor c = icon.pixelColor(x, y);
            if (c.alpha() > 128) {
                sum += c.hsvSaturation();
                ++count;
            }
        }
    }
    return count ? sum / count : -1;
}

int opaquePixels(const QImage& icon, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += qAlpha(icon.pixel(x, y)) > 128;
    return n;
}
} // namespace

class UnitIconArtTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sizesAndIndexBounds();
    void everyIconDistinct();
    void gaugeStepsAreVisible();
    void outsideBlockLooksDimmed();
    void contactSheet();

private:
    QList<QImage> m_icons;
};

void UnitIconArtTest::initTestCase()
{
    m_icons = makeUnitIconImages();
    QCOMPARE(m_icons.size(), UnitIconCount);
}

void UnitIconArtTest::sizesAndIndexBounds()
{
    for (const QImage& icon : m_icons) {
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.size(), QSize(UnitIconSize, UnitIconSize));
        QVERIFY(icon.hasAlphaChannel());
        // The unit drawing itself is there (resource linked in and rendered).
        QVERIFY(opaquePixels(icon, QRect(4, 10, 36, 60)) > 1200);
    }
    QCOMPARE(makeUnitIconImage(30), m_icons.at(30));
    QVERIFY(makeUnitIconImage(-1).isNull());
    QVERIFY(makeUnitIconImage(UnitIconCount).isNull());
    QVERIFY(makeUnitIconImage(INT_MIN).isNull());
    QCOMPARE(makeUnitIcons().size(), UnitIconCount);
}

void UnitIconArtTest::everyIconDistinct()
{
    for (int a = 0; a < UnitIconCount; ++a)
        for (int b = a + 1; b < UnitIconCount; ++b)
            QVERIFY2(m_icons.at(a) != m_icons.at(b),
                     qPrintable(QStringLiteral("%1 == %2").arg(a).arg(b)));
}

void UnitIconArtTest::gaugeStepsAreVisible()
{
    // Each step up adds a clearly visible band; "no value" is far from every level.
    for (int block : {0, UnitIconBlock}) {
        for (int level = 1; level < UnitIconLevels; ++level)
            QVERIFY2(differingPixels(m_icons.at(block + level - 1), m_icons.at(block + level)) >=
                         20,
                     qPrintable(QString::number(block + level)));
        for (int level = 0; level < UnitIconLevels; ++level)
            QVERIFY(differingPixels(m_icons.at(block + level),
                                    m_icons.at(block + UnitIconNoFreeSpace)) >= 100);
    }
    // Green when nearly empty, red when full.
    const QColor low = m_icons.at(3).pixelColor(61, 66);
    const QColor full = m_icons.at(20).pixelColor(61, 66);
    QVERIFY(low.green() > low.red());
    QVERIFY(full.red() > full.green());
}

void UnitIconArtTest::outsideBlockLooksDimmed()
{
    for (int within = 0; within < UnitIconBlock; ++within) {
        const QImage& inside = m_icons.at(within);
        const QImage& outside = m_icons.at(UnitIconBlock + within);
        QVERIFY(differingPixels(inside, outside) > 400);
        QVERIFY(unitSaturation(outside) < unitSaturation(inside) / 2);
    }
}

void UnitIconArtTest::contactSheet()
{
    const int columns = UnitIconBlock / 2, cell = UnitIconSize + 10;
    QImage sheet(columns * cell, 4 * (cell + 12), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < UnitIconCount; ++i) {
        const QPoint at((i % columns) * cell + 5, (i / columns) * (cell + 12) + 5);
        painter.drawImage(at, m_icons.at(i));
        painter.drawText(QRect(at + QPoint(0, UnitIconSize), QSize(UnitIconSize, 14)),
                         Qt::AlignCenter, QString::number(i));
    }
    painter.end();
    const QString dir = QDir::temp().filePath(QStringLiteral("mrv-art"));
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(sheet.save(dir + QStringLiteral("/unit-icons.png")));
}

QTEST_MAIN(UnitIconArtTest)
#include "UnitIconArtTest.moc"
