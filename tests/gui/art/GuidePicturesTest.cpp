// The three guide pictures as the main window shows them: loadable from the
// resources, exactly 652 x 348, parsed without complaint and really drawn.
// Rendered copies land in <temp>/mrv-art for a look.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QSvgRenderer>
#include <QTest>

namespace {
QStringList svgWarnings;

void collectSvgWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && context.category && QByteArray(context.category) == "qt.svg")
        svgWarnings.append(text);
}
} // namespace

class GuidePicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void picture_data();
    void picture();
};

void GuidePicturesTest::picture_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("welcome") << QStringLiteral(":/images/guide_welcome.svg");
    QTest::newRow("power") << QStringLiteral(":/images/guide_power.svg");
    QTest::newRow("network") << QStringLiteral(":/images/guide_network.svg");
}

void GuidePicturesTest::picture()
{
    QFETCH(QString, path);
    const QSize size(652, 348);

    svgWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectSvgWarnings);
    QSvgRenderer renderer(path);
    QImage image(size, QImage::Format_RGB888);
    image.fill(Qt::magenta);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    qInstallMessageHandler(previous);

    QVERIFY2(renderer.isValid(), qPrintable(path));
    QVERIFY2(svgWarnings.isEmpty(), qPrintable(svgWarnings.join(QLatin1Char('\n'))));
    QCOMPARE(renderer.defaultSize(), size);
    QCOMPARE(renderer.viewBoxF(), QRectF(QPointF(0, 0), QSizeF(size)));

    // A QLabel given the resource path loads it through the image plugin.
    const QPixmap pixmap(path);
    QCOMPARE(pixmap.size(), size);

    // Drawn edge to edge (no background showing through) and a real picture.
    QSet<QRgb> colours;
    int unpainted = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            colours.insert(p);
            unpainted += p == qRgb(255, 0, 255);
        }
    }
    QCOMPARE(unpainted, 0);
    QVERIFY2(colours.size() > 500, qPrintable(QString::number(colours.size())));

    const QString dir = QDir::temp().filePath(QStringLiteral("mrv-art"));
    QDir().mkpath(dir);
    image.save(dir + QLatin1Char('/') + QString::fromLatin1(QTest::currentDataTag()) +
               QStringLiteral(".png"));
}

QTEST_MAIN(GuidePicturesTest)
#include "GuidePicturesTest.moc"
