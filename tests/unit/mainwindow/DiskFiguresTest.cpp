// Disk figures: numbers read as strtod reads them, sizes formatted without
// overflow, and the free ratio shown without rounding up.

#include "mainwindow/core/DiskFigures.h"

#include <QtTest>
#include <cmath>
#include <limits>
#include <string_view>

using namespace mainwindow;

class DiskFiguresTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsNumbersLikeStrtod_data();
    void readsNumbersLikeStrtod();
    void formatsSizes_data();
    void formatsSizes();
    void freeRatio_data();
    void freeRatio();
};

void DiskFiguresTest::readsNumbersLikeStrtod_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<float>("expected");
    QTest::newRow("plain") << QByteArray("78150744") << 78150744.0f;
    QTest::newRow("leading blanks") << QByteArray(" \t 12") << 12.0f;
    QTest::newRow("plus") << QByteArray("+5") << 5.0f;
    QTest::newRow("minus") << QByteArray("-5") << -5.0f;
    QTest::newRow("fraction and exponent") << QByteArray("1.5e3") << 1500.0f;
    QTest::newRow("leading point") << QByteArray(".5") << 0.5f;
    QTest::newRow("trailing point") << QByteArray("5.") << 5.0f;
    QTest::newRow("stops at letters") << QByteArray("12abc") << 12.0f;
    QTest::newRow("exponent without digits") << QByteArray("7e+") << 7.0f;
    QTest::newRow("no hexadecimal") << QByteArray("0x10") << 0.0f;
    QTest::newRow("no number") << QByteArray("abc") << 0.0f;
    QTest::newRow("empty") << QByteArray("") << 0.0f;
    QTest::newRow("lone point") << QByteArray(".") << 0.0f;
    QTest::newRow("blank after sign") << QByteArray("- 5") << 0.0f;
    QTest::newRow("rounded to 32 bits") << QByteArray("16777217") << 16777216.0f;
    QTest::newRow("underflow") << QByteArray("1e-400") << 0.0f;
    QTest::newRow("overflow") << QByteArray("1e400") << std::numeric_limits<float>::infinity();
    QTest::newRow("beyond float") << QByteArray("1e39") << std::numeric_limits<float>::infinity();
}

void DiskFiguresTest::readsNumbersLikeStrtod()
{
    QFETCH(QByteArray, text);
    QFETCH(float, expected);
    QCOMPARE(readDiskNumber(std::string_view(text.constData(), text.size())), expected);
}

void DiskFiguresTest::formatsSizes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("80 GB disk") << QByteArray("78150744") << QByteArray("80 GB");
    QTest::newRow("250 GB disk") << QByteArray("244198584") << QByteArray("250 GB");
    QTest::newRow("half of 80 GB") << QByteArray("39075372") << QByteArray("40 GB");
    QTest::newRow("limit stays MB") << QByteArray("1000000") << QByteArray("1024 MB");
    QTest::newRow("one above is GB") << QByteArray("1000001") << QByteArray("1 GB");
    QTest::newRow("half a million") << QByteArray("500000") << QByteArray("512 MB");
    QTest::newRow("zero") << QByteArray("0") << QByteArray("0 MB");
    QTest::newRow("empty") << QByteArray("") << QByteArray("0 MB");
    QTest::newRow("not a number") << QByteArray("n/a") << QByteArray("0 MB");
    QTest::newRow("small negative") << QByteArray("-5") << QByteArray("0 MB");
    QTest::newRow("20 digits") << QByteArray("99999999999999999999")
                               << QByteArray("102399997902848 GB");
    // Far beyond any disk: saturates instead of overflowing the conversion.
    QTest::newRow("huge") << QByteArray("1e30") << QByteArray("9223372036854775807 GB");
    QTest::newRow("infinite") << QByteArray("1e400") << QByteArray("9223372036854775807 GB");
}

void DiskFiguresTest::formatsSizes()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(
        QByteArray::fromStdString(diskSizeText(std::string_view(text.constData(), text.size()))),
        expected);
}

void DiskFiguresTest::freeRatio_data()
{
    QTest::addColumn<QByteArray>("capacity");
    QTest::addColumn<QByteArray>("free");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("half") << QByteArray("78150744") << QByteArray("39075372") << QByteArray("50%");
    QTest::newRow("nothing free") << QByteArray("78150744") << QByteArray("0") << QByteArray("0%");
    QTest::newRow("any free space is at least 1%")
        << QByteArray("1000000") << QByteArray("1") << QByteArray("1%");
    QTest::newRow("rounded up") << QByteArray("1000") << QByteArray("421") << QByteArray("43%");
    // 7 / 100 * 100 is 7.000000000000001 in doubles: must not show 8%.
    QTest::newRow("whole percent stays whole")
        << QByteArray("100") << QByteArray("7") << QByteArray("7%");
    QTest::newRow("57 percent") << QByteArray("100") << QByteArray("57") << QByteArray("57%");
    QTest::newRow("all free") << QByteArray("2000") << QByteArray("2000") << QByteArray("100%");
    QTest::newRow("more free than capacity")
        << QByteArray("100") << QByteArray("150") << QByteArray("150%");
    QTest::newRow("no capacity") << QByteArray("0") << QByteArray("5") << QByteArray("0%");
    QTest::newRow("no disk model") << QByteArray("0") << QByteArray("0") << QByteArray("0%");
    QTest::newRow("empty free text") << QByteArray("1000") << QByteArray("") << QByteArray("0%");
}

void DiskFiguresTest::freeRatio()
{
    QFETCH(QByteArray, capacity);
    QFETCH(QByteArray, free);
    QFETCH(QByteArray, expected);
    QCOMPARE(QByteArray::fromStdString(
                 freeRatioText(std::string_view(capacity.constData(), capacity.size()),
                               std::string_view(free.constData(), free.size()))),
             expected);
}

QTEST_APPLESS_MAIN(DiskFiguresTest)
#include "DiskFiguresTest.moc"
