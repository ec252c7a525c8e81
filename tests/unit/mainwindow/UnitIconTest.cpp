// The usage levels and icon indexes of the unit records, and the buttons they offer.
#include "mainwindow/core/UnitIcon.h"

#include "discovery/core/DeviceTable.h"
#include "discovery/core/FixedText.h"
#include "mainwindow/core/ActionButtons.h"
#include "platform/core/DottedQuad.h"

#include <QtTest>
#include <cstdint>
#include <string_view>

using namespace mainwindow;

namespace {

const std::uint32_t kPcNetwork = platform::inetAddr("192.168.1.0");
const std::uint32_t kOtherNetwork = platform::inetAddr("10.0.0.0");

discovery::DeviceRecord record(const char* capacity, const char* free, bool sameSubnet)
{
    discovery::DeviceRecord r{};
    discovery::copyText(r.DiskCapacity, capacity);
    discovery::copyText(r.DiskFree, free);
    r.NetworkAddress = sameSubnet ? kPcNetwork : kOtherNetwork;
    return r;
}

} // namespace

class UnitIconTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void usageLevels_data();
    void usageLevels();
    void iconIndexAndFlags_data();
    void iconIndexAndFlags();
    void flagsNeverGoBack();
    void actionRows_data();
    void actionRows();
};

void UnitIconTest::usageLevels_data()
{
    QTest::addColumn<QByteArray>("capacity");
    QTest::addColumn<QByteArray>("free");
    QTest::addColumn<int>("level");
    QTest::newRow("empty disk, u 0") << QByteArray("1000") << QByteArray("1000") << 0;
    QTest::newRow("u 3") << QByteArray("1000") << QByteArray("970") << 0;
    QTest::newRow("u 4.2") << QByteArray("1000") << QByteArray("958") << 1;
    QTest::newRow("u 5 exactly") << QByteArray("100") << QByteArray("95") << 1;
    QTest::newRow("half") << QByteArray("78150744") << QByteArray("39075372") << 10;
    QTest::newRow("u 95") << QByteArray("100") << QByteArray("5") << 19;
    QTest::newRow("u 99.99") << QByteArray("10000") << QByteArray("1") << 20;
    QTest::newRow("full, u 100") << QByteArray("1000") << QByteArray("0") << 20;
    QTest::newRow("free text empty reads 0") << QByteArray("1000") << QByteArray("") << 20;
    QTest::newRow("capacity 0") << QByteArray("0") << QByteArray("0") << 0;
    QTest::newRow("capacity 0, some free") << QByteArray("0") << QByteArray("500") << 0;
    QTest::newRow("capacity not a number") << QByteArray("x") << QByteArray("500") << 0;
    QTest::newRow("free above capacity") << QByteArray("100") << QByteArray("250") << 0;
    QTest::newRow("negative free") << QByteArray("100") << QByteArray("-50") << 20;
    QTest::newRow("negative capacity") << QByteArray("-100") << QByteArray("50") << 20;
    QTest::newRow("infinite capacity") << QByteArray("1e400") << QByteArray("5") << 20;
    QTest::newRow("infinite free") << QByteArray("100") << QByteArray("1e400") << 0;
    QTest::newRow("both infinite") << QByteArray("1e400") << QByteArray("1e400") << 0;
}

void UnitIconTest::usageLevels()
{
    QFETCH(QByteArray, capacity);
    QFETCH(QByteArray, free);
    QFETCH(int, level);
    QCOMPARE(usageLevel(std::string_view(capacity.constData(), capacity.size()),
                        std::string_view(free.constData(), free.size())),
             level);
}

void UnitIconTest::iconIndexAndFlags_data()
{
    QTest::addColumn<QByteArray>("capacity");
    QTest::addColumn<QByteArray>("free");
    QTest::addColumn<bool>("sameSubnet");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("otherSubnet");
    QTest::addColumn<int>("freeMissing");
    QTest::newRow("half, here") << QByteArray("78150744") << QByteArray("39075372") << true << 10
                                << 0 << 0;
    QTest::newRow("half, elsewhere")
        << QByteArray("78150744") << QByteArray("39075372") << false << 32 << 1 << 0;
    QTest::newRow("full, here") << QByteArray("78150744") << QByteArray("0") << true << 20 << 0
                                << 0;
    QTest::newRow("full, elsewhere")
        << QByteArray("78150744") << QByteArray("0") << false << 42 << 1 << 0;
    QTest::newRow("no free value, here")
        << QByteArray("78150744") << QByteArray("") << true << 21 << 0 << 1;
    QTest::newRow("no free value, elsewhere")
        << QByteArray("78150744") << QByteArray("") << false << 43 << 1 << 1;
    QTest::newRow("no disk model, here")
        << QByteArray("0") << QByteArray("0") << true << 0 << 0 << 0;
    QTest::newRow("no disk model, elsewhere")
        << QByteArray("0") << QByteArray("0") << false << 22 << 1 << 0;
    QTest::newRow("free above capacity stays in block")
        << QByteArray("100") << QByteArray("900") << false << 22 << 1 << 0;
    QTest::newRow("negative free stays in block")
        << QByteArray("100") << QByteArray("-900") << true << 20 << 0 << 0;
}

void UnitIconTest::iconIndexAndFlags()
{
    QFETCH(QByteArray, capacity);
    QFETCH(QByteArray, free);
    QFETCH(bool, sameSubnet);
    QFETCH(int, icon);
    QFETCH(int, otherSubnet);
    QFETCH(int, freeMissing);
    discovery::DeviceRecord r = record(capacity.constData(), free.constData(), sameSubnet);
    const int index = ChooseUnitIcon(r, kPcNetwork);
    QCOMPARE(index, icon);
    QVERIFY(index >= 0 && index < kUnitIconCount);
    QCOMPARE(r.OtherSubnet, otherSubnet);
    QCOMPARE(r.FreeSpaceMissing, freeMissing);
}

void UnitIconTest::flagsNeverGoBack()
{
    // A flag set once stays set until the table is cleared, even when the
    // PC's network would now match.
    discovery::DeviceRecord r = record("1000", "", false);
    ChooseUnitIcon(r, kPcNetwork);
    discovery::copyText(r.DiskFree, "500");
    QCOMPARE(ChooseUnitIcon(r, kOtherNetwork), 10);
    QCOMPARE(r.OtherSubnet, 1);
    QCOMPARE(r.FreeSpaceMissing, 1);
}

void UnitIconTest::actionRows_data()
{
    QTest::addColumn<int>("unit"); // 0 none, 1 here, 2 here without free value, 3 elsewhere
    QTest::addColumn<bool>("samba");
    QTest::addColumn<bool>("web");
    QTest::addColumn<bool>("next");
    QTest::newRow("none") << 0 << false << false << false;
    QTest::newRow("in subnet") << 1 << true << true << true;
    QTest::newRow("in subnet, no free value") << 2 << false << true << true;
    QTest::newRow("outside subnet") << 3 << false << false << true;
}

void UnitIconTest::actionRows()
{
    QFETCH(int, unit);
    QFETCH(bool, samba);
    QFETCH(bool, web);
    QFETCH(bool, next);
    discovery::DeviceRecord r = record("1000", unit == 2 ? "" : "500", unit != 3);
    ChooseUnitIcon(r, kPcNetwork);
    const ActionButtons b = actionButtonsFor(unit == 0 ? nullptr : &r, kPcNetwork);
    QCOMPARE(b.sambaEnabled, samba);
    QCOMPARE(b.sambaVisible, samba);
    QCOMPARE(b.webEnabled, web);
    QCOMPARE(b.webVisible, web);
    QCOMPARE(b.nextEnabled, next);
}

QTEST_APPLESS_MAIN(UnitIconTest)
#include "UnitIconTest.moc"
