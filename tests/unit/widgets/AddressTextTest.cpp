// Reading and printing address texts, packing fields, range words and the
// range-error text: the pieces the address control is built from.

#include "widgets/core/DottedText.h"
#include "widgets/core/FieldInteger.h"
#include "widgets/core/PackedAddress.h"
#include "widgets/core/RangeErrorMessage.h"
#include "widgets/core/TIPAddrRange.h"

#include <QTest>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

using namespace widgets;

class AddressTextTest : public QObject
{
    Q_OBJECT

private slots:
    void fieldInteger_data();
    void fieldInteger();
    void dottedParts_data();
    void dottedParts();
    void packing_data();
    void packing();
    void rangeWords();
    void rangeErrorText_data();
    void rangeErrorText();
    void rangeLimitsByIndex();
};

void AddressTextTest::fieldInteger_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("decimal") << QByteArray("192") << true << 192;
    QTest::newRow("leading zeros") << QByteArray("007") << true << 7;
    QTest::newRow("plus") << QByteArray("+5") << true << 5;
    QTest::newRow("minus") << QByteArray("-1") << true << -1;
    QTest::newRow("leading blanks") << QByteArray("   42") << true << 42;
    QTest::newRow("int max") << QByteArray("2147483647") << true << INT_MAX;
    QTest::newRow("int min") << QByteArray("-2147483648") << true << INT_MIN;
    QTest::newRow("past int max") << QByteArray("2147483648") << false << 0;
    QTest::newRow("past int min") << QByteArray("-2147483649") << false << 0;
    QTest::newRow("huge") << QByteArray("99999999999999999999999") << false << 0;
    QTest::newRow("dollar hex") << QByteArray("$FF") << true << 255;
    QTest::newRow("x hex lower") << QByteArray("xff") << true << 255;
    QTest::newRow("X hex") << QByteArray("X1a") << true << 26;
    QTest::newRow("0x hex") << QByteArray("0x10") << true << 16;
    QTest::newRow("0X hex") << QByteArray("0XC0") << true << 192;
    QTest::newRow("eight hex digits, sign bit") << QByteArray("$FFFFFFFF") << true << -1;
    QTest::newRow("eight hex digits") << QByteArray("$7FFFFFFF") << true << INT_MAX;
    QTest::newRow("nine hex digits") << QByteArray("$000000001") << false << 0;
    QTest::newRow("blanks before hex") << QByteArray("  $A") << true << 10;
    QTest::newRow("empty") << QByteArray("") << false << 0;
    QTest::newRow("blanks only") << QByteArray("   ") << false << 0;
    QTest::newRow("trailing blank") << QByteArray("1 ") << false << 0;
    QTest::newRow("letter") << QByteArray("x") << false << 0;
    QTest::newRow("letter in number") << QByteArray("1a") << false << 0;
    QTest::newRow("sign only") << QByteArray("-") << false << 0;
    QTest::newRow("double sign") << QByteArray("--1") << false << 0;
    QTest::newRow("signed hex") << QByteArray("-$1") << false << 0;
    QTest::newRow("prefix only") << QByteArray("0x") << false << 0;
    QTest::newRow("bad hex digit") << QByteArray("$G") << false << 0;
    QTest::newRow("tab before") << QByteArray("\t1") << false << 0;
    QTest::newRow("full-width digit") << QByteArray("\xef\xbc\x91") << false << 0;
    QTest::newRow("embedded zero byte") << QByteArray("1\0"
                                                      "2",
                                                      3)
                                        << false << 0;
}

void AddressTextTest::fieldInteger()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const auto result = parseFieldInteger(std::string_view(text.constData(), text.size()));
    QCOMPARE(result.has_value(), valid);
    if (valid)
        QCOMPARE(*result, value);
}

void AddressTextTest::dottedParts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("parts");

    QTest::newRow("four") << "192.168.1.10" << QStringList{"192", "168", "1", "10"};
    QTest::newRow("two") << "10.1" << QStringList{"10", "1"};
    QTest::newRow("fifth dropped") << "1.2.3.4.5" << QStringList{"1", "2", "3", "4"};
    QTest::newRow("empty text") << "" << QStringList{""};
    QTest::newRow("double dot") << "1..3.4" << QStringList{"1", "", "3", "4"};
    QTest::newRow("leading dot") << ".1" << QStringList{"", "1"};
    QTest::newRow("trailing dot") << "1.2." << QStringList{"1", "2", ""};
    QTest::newRow("four then dot") << "1.2.3.4." << QStringList{"1", "2", "3", "4"};
    QTest::newRow("single") << "7" << QStringList{"7"};
}

void AddressTextTest::dottedParts()
{
    QFETCH(QString, text);
    QFETCH(QStringList, parts);
    const std::string bytes = text.toStdString();
    QStringList got;
    for (std::string_view p : dottedTextParts(bytes))
        got << QString::fromStdString(std::string(p));
    QCOMPARE(got, parts);
}

void AddressTextTest::packing_data()
{
    QTest::addColumn<int>("f0");
    QTest::addColumn<int>("f1");
    QTest::addColumn<int>("f2");
    QTest::addColumn<int>("f3");
    QTest::addColumn<QString>("shown");

    QTest::newRow("plain") << 192 << 168 << 1 << 10 << "192.168.1.10";
    QTest::newRow("zero") << 0 << 0 << 0 << 0 << "0.0.0.0";
    QTest::newRow("all ones") << 255 << 255 << 255 << 255 << "255.255.255.255";
    // Added, not masked: 300 = 256 + 44 carries one into the third field.
    QTest::newRow("carry into third") << 1 << 2 << 3 << 300 << "1.2.4.44";
    QTest::newRow("carry ripples") << 1 << 2 << 255 << 256 << "1.3.0.0";
    QTest::newRow("first field wraps") << 256 << 0 << 0 << 0 << "0.0.0.0";
    QTest::newRow("negative borrows") << 1 << 2 << 3 << -1 << "1.2.2.255";
    QTest::newRow("extremes do not trap")
        << INT_MIN << INT_MAX << INT_MIN << INT_MAX << "127.254.255.255";
}

void AddressTextTest::packing()
{
    QFETCH(int, f0);
    QFETCH(int, f1);
    QFETCH(int, f2);
    QFETCH(int, f3);
    QFETCH(QString, shown);
    const std::uint32_t packed = packAddress({f0, f1, f2, f3});
    QStringList bytes;
    for (int i = 0; i < 4; ++i)
        bytes << QString::number(addressByte(packed, i));
    QCOMPARE(bytes.join('.'), shown);
    QCOMPARE(addressByte(packed, 4), std::uint8_t{0});
    QCOMPARE(addressByte(packed, -1), std::uint8_t{0});
}

void AddressTextTest::rangeWords()
{
    QCOMPARE(rangeWord(1, 223), std::uint16_t((223 << 8) + 1));
    QCOMPARE(rangeWord(0, 255), std::uint16_t(0xFF00));
    // Only the low 8 bits of each limit travel.
    QCOMPARE(rangeWord(0x1FF, 0x102), std::uint16_t(0x02FF));
    QCOMPARE(rangeLow(rangeWord(10, 20)), std::uint8_t{10});
    QCOMPARE(rangeHigh(rangeWord(10, 20)), std::uint8_t{20});
    // Upside-down limits are carried as given.
    QCOMPARE(rangeWord(200, 100), std::uint16_t((100 << 8) + 200));
}

void AddressTextTest::rangeErrorText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");
    QTest::addColumn<QString>("text");

    QTest::newRow("300 in 0..255")
        << 300 << 0 << 255
        << QString::fromUtf8("$12C liegt nicht im g・tigen Bereich zwischen $0..$FF");
    QTest::newRow("minus one") << -1 << 1 << 223
                               << QString::fromUtf8(
                                      "$FFFFFFFF liegt nicht im g・tigen Bereich zwischen $1..$DF");
    QTest::newRow("int min") << INT_MIN << 0 << 0
                             << QString::fromUtf8(
                                    "$80000000 liegt nicht im g・tigen Bereich zwischen $0..$0");
}

void AddressTextTest::rangeErrorText()
{
    QFETCH(int, value);
    QFETCH(int, lower);
    QFETCH(int, upper);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(formatRangeError(value, lower, upper)), text);
}

void AddressTextTest::rangeLimitsByIndex()
{
    TIPAddrRange range;
    QCOMPARE(range.GetIPRange(1), 0);
    QCOMPARE(range.GetIPRange(2), 255);
    QCOMPARE(range.GetIPRange(0), 255);
    QCOMPARE(range.GetIPRange(3), 255);
    range.SetIPRange(1, 0x10A); // stored as 8 bits
    range.SetIPRange(2, 223);
    range.SetIPRange(3, 7); // ignored
    QCOMPARE(int(range.LowerLimit()), 10);
    QCOMPARE(int(range.UpperLimit()), 223);
    // Nothing keeps the limits in order.
    range.setLowerLimit(250);
    QCOMPARE(range.GetIPRange(1), 250);
    QCOMPARE(range.GetIPRange(2), 223);
}

QTEST_APPLESS_MAIN(AddressTextTest)
#include "AddressTextTest.moc"
