// The pictures of the main window: the three guide illustrations and the 44
// device-list icons. Rendered copies and a contact sheet of the icons are
// written to <temp>/mrv-art for a look.

#include "mainwindow/UnitIconArt.h"

#include <QDir>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QTest>

using namespace mainwindow;

namespace {
QStringList svgWarnings;

void collectSvgWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && context.category && QByteArray(context.category) == "qt.svg")
        svgWarnings.append(text);
}

int differingPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// Opaque pixels and their mean saturation in the upper part of the unit
// (above the warning mark).
QPair<int, double> unitPixels(const QImage& icon)
{
    int count = 0;
    double saturation = 0;
    for (int y = 0; y < 45; ++y)
        for (int x = 0; x < 45; ++x)
            if (const QColor c = icon.pixelColor(x, y); c.alpha() > 128) {
                ++count;
                saturation += c.hsvSaturation();
            }
    return {count, count ? saturation / count : 0};
}

QString outputPath(const QString& name)
{
    const QString dir = QDir::temp().filePath(QStringLiteral("mrv-art"));
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + name + QStringLiteral(".png");
}
} // namespace

class ArtTest : public QObject
{
    Q_OBJECT

private slots:
    void guidePicture_data();
    void guidePicture();
    void iconSet();
    void iconsTellLevelsAndSubnetApart();
};

void ArtTest::guidePicture_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("welcome") << QStringLiteral(":/images/guide_welcome.svg");
    QTest::newRow("power") << QStringLiteral(":/images/guide_power.svg");
    QTest::newRow("network") << QStringLiteral(":/images/guide_network.svg");
}

void ArtTest::guidePicture()
{
    QFETCH(QString, path);
    const QSize size(652, 348);
    svgWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectSvgWarnings);
    QSvgRenderer renderer(path);
    QImage image(size, QImage::Format_RGB888);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    qInstallMessageHandler(previous);

    QVERIFY2(renderer.isValid(), qPrintable(path));
    QVERIFY2(svgWarnings.isEmpty(), qPrintable(svgWarnings.join(QLatin1Char('\n'))));
    QCOMPARE(renderer.defaultSize(), size);
    QCOMPARE(renderer.viewBoxF(), QRectF(QPointF(0, 0), QSizeF(size)));
    QCOMPARE(QPixmap(path).size(), size); // the image-plugin route a QLabel takes

    // Painted edge to edge, and a real picture rather than a few flat boxes.
    QSet<QRgb> colours;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            colours.insert(image.pixel(x, y));
    QVERIFY(!colours.contains(qRgb(255, 0, 255)));
    QVERIFY2(colours.size() > 500, qPrintable(QString::number(colours.size())));
    image.save(outputPath(QString::fromLatin1(QTest::currentDataTag())));
}

void ArtTest::iconSet()
{
    const QList<QImage> icons = makeUnitIconImages();
    QCOMPARE(icons.size(), kUnitIconCount);
    for (const QImage& icon : icons) {
        QCOMPARE(icon.size(), QSize(kUnitIconSize, kUnitIconSize));
        QVERIFY(icon.hasAlphaChannel());
        QVERIFY(unitPixels(icon).first > 1000); // the unit artwork was found and drawn
    }
    QCOMPARE(makeUnitIconImage(30), icons.at(30));
    QVERIFY(makeUnitIconImage(-1).isNull());
    QVERIFY(makeUnitIconImage(kUnitIconCount).isNull());
    QCOMPARE(makeUnitIcons().size(), kUnitIconCount);

    const int columns = kOtherSubnetBlock / 2, cell = kUnitIconSize + 10;
    QImage sheet(columns * cell, 4 * (cell + 12), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < kUnitIconCount; ++i) {
        const QPoint at((i % columns) * cell + 5, (i / columns) * (cell + 12) + 5);
        painter.drawImage(at, icons.at(i));
        painter.drawText(QRect(at + QPoint(0, kUnitIconSize), QSize(kUnitIconSize, 14)),
                         Qt::AlignCenter, QString::number(i));
    }
    painter.end();
    QVERIFY(sheet.save(outputPath(QStringLiteral("unit-icons"))));
}

void ArtTest::iconsTellLevelsAndSubnetApart()
{
    const QList<QImage> icons = makeUnitIconImages();
    for (int a = 0; a < kUnitIconCount; ++a)
        for (int b = a + 1; b < kUnitIconCount; ++b)
            QVERIFY2(icons.at(a) != icons.at(b), qPrintable(QStringLiteral("%1 %2").arg(a).arg(b)));
    for (int block : {0, kOtherSubnetBlock}) {
        // every step up is a visible band; "no value" is far from every level
        for (int level = 1; level < kUsageLevels; ++level)
            QVERIFY(differingPixels(icons.at(block + level - 1), icons.at(block + level)) >= 20);
        for (int level = 0; level < kUsageLevels; ++level)
            QVERIFY(differingPixels(icons.at(block + level),
                                    icons.at(block + kNoFreeValueIcon)) >= 100);
    }
    for (int within = 0; within < kOtherSubnetBlock; ++within) // outside: greyed and marked
        QVERIFY(unitPixels(icons.at(kOtherSubnetBlock + within)).second <
                unitPixels(icons.at(within)).second / 2);
    const QColor low = icons.at(3).pixelColor(61, 66), full = icons.at(20).pixelColor(61, 66);
    QVERIFY(low.green() > low.red() && full.red() > full.green());
}

QTEST_MAIN(ArtTest)
#include "ArtTest.moc"
