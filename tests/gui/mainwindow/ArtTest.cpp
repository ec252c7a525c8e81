// The pictures of the main window: the three guide illustrations and the 44
// device-list icons. Rendered copies and a contact sheet of the icons are
// written to <temp>/mrv-art for a look.

#include "mainwindow/GuidePictures.h"
#include "mainwindow/UnitIconArt.h"
#include "mainwindow/UnitIcons.h"

#include <QDir>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QTest>

using namespace mainwindow;
using mainwindow::GuidePicture;

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

// Mean difference per colour channel (alpha included), 0..255.
double meanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * a.width() * a.height());
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
    QTest::addColumn<int>("id");
    const QString dir = QStringLiteral(MRV_IMAGES_DIR "/");
    QTest::newRow("welcome") << dir + "guide_welcome.svg" << int(GuidePicture::Welcome);
    QTest::newRow("power") << dir + "guide_power.svg" << int(GuidePicture::PowerOn);
    QTest::newRow("network") << dir + "guide_network.svg" << int(GuidePicture::Network);
}

void ArtTest::guidePicture()
{
    QFETCH(QString, path);
    QFETCH(int, id);
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

    // The built-in bitmaps are this drawing, pixel for pixel, and at twice the
    // size its own rendering at twice the size, not an enlargement; opaque, in
    // the screen's format.
    for (const qreal ratio : {1.0, 2.0}) {
        const QPixmap built = mainwindow::guidePicture(GuidePicture(id), ratio);
        QCOMPARE(built.devicePixelRatio(), ratio);
        QCOMPARE(built.deviceIndependentSize(), QSizeF(size));
        QVERIFY(!built.hasAlphaChannel());
        QImage drawn(size * ratio, QImage::Format_RGB32);
        drawn.fill(Qt::white); // as the build fills it: covered edge to edge
        QPainter scaled(&drawn);
        renderer.render(&scaled);
        scaled.end();
        const QImage shown = built.toImage();
        QCOMPARE(shown.format(), QImage::Format_RGB32);
        QVERIFY2(differingPixels(shown, drawn) == 0, qPrintable(QString::number(ratio)));
    }
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

    // On a screen of pixel ratio 2 the icons have twice the pixels, the same
    // picture as at 1x (only sharper), and the list gets them as they are.
    const QList<QImage> doubled = makeUnitIconImages(2.0);
    UnitIcons cache;
    for (int i = 0; i < kUnitIconCount; ++i) {
        const QImage& big = doubled.at(i);
        QCOMPARE(big.size(), QSize(2 * kUnitIconSize, 2 * kUnitIconSize));
        QCOMPARE(big.devicePixelRatio(), 2.0);
        QCOMPARE(big.format(), QImage::Format_ARGB32_Premultiplied);
        const QImage reduced =
            big.scaled(icons.at(i).size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY2(meanDifference(reduced, icons.at(i)) < 8, qPrintable(QString::number(i)));
        const QPixmap listed = cache.icon(i, 2.0).pixmap(QSize(kUnitIconSize, kUnitIconSize), 2.0);
        QCOMPARE(listed.size(), big.size());
        QCOMPARE(listed.toImage(), big);
        QCOMPARE(cache.icon(i, 1.0).pixmap(QSize(kUnitIconSize, kUnitIconSize), 1.0).toImage(),
                 icons.at(i));
    }
    QVERIFY(cache.icon(-1, 1.0).isNull() && cache.icon(kUnitIconCount, 1.0).isNull());

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
            QVERIFY(differingPixels(icons.at(block + level), icons.at(block + kNoFreeValueIcon)) >=
                    100);
    }
    for (int within = 0; within < kOtherSubnetBlock; ++within) // outside: greyed and marked
        QVERIFY(unitPixels(icons.at(kOtherSubnetBlock + within)).second <
                unitPixels(icons.at(within)).second / 2);
    const QColor low = icons.at(3).pixelColor(61, 66), full = icons.at(20).pixelColor(61, 66);
    QVERIFY(low.green() > low.red() && full.red() > full.green());
}

QTEST_MAIN(ArtTest)
#include "ArtTest.moc"
