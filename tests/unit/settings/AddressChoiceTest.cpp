// Which addresses the automatic mode tries, and what the manual mode proposes.

#include "settings/core/FreeAddressCandidates.h"
#include "settings/core/ManualProposal.h"

#include <QTest>

using namespace settings;

Q_DECLARE_METATYPE(settings::Octets)

class AddressChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void candidates_data();
    void candidates();
    void manualProposal_data();
    void manualProposal();
};

void AddressChoiceTest::candidates_data()
{
    QTest::addColumn<QString>("pc");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");

    QTest::newRow("/24") << "192.168.1.37"
                         << "255.255.255.0" << 254 << "192.168.1.1"
                         << "192.168.1.254";
    QTest::newRow("/16 varies the last octet only") << "172.16.5.9"
                                                    << "255.255.0.0" << 254 << "172.16.5.1"
                                                    << "172.16.5.254";
    QTest::newRow("/25 lower half") << "192.168.1.37"
                                    << "255.255.255.128" << 126 << "192.168.1.1"
                                    << "192.168.1.126";
    QTest::newRow("/25 upper half stays in the PC's subnet")
        << "192.168.1.200"
        << "255.255.255.128" << 126 << "192.168.1.129"
        << "192.168.1.254";
    QTest::newRow("/30") << "10.0.0.37"
                         << "255.255.255.252" << 2 << "10.0.0.37"
                         << "10.0.0.38";
    QTest::newRow("/31: only the first is tried") << "10.0.0.36"
                                                  << "255.255.255.254" << 1 << "10.0.0.37"
                                                  << "10.0.0.37";
    QTest::newRow("/32: the first is tried, never past 255")
        << "10.0.0.254"
        << "255.255.255.255" << 1 << "10.0.0.255"
        << "10.0.0.255";
    QTest::newRow("no room above the PC's octet") << "10.0.0.255"
                                                  << "255.255.255.255" << 0 << ""
                                                  << "";
    QTest::newRow("address without a point") << "nonsense"
                                             << "255.255.255.0" << 0 << ""
                                             << "";
}

void AddressChoiceTest::candidates()
{
    QFETCH(QString, pc);
    QFETCH(QString, mask);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);

    const auto list = freeAddressCandidates(pc.toStdString(), mask.toStdString());
    QCOMPARE(int(list.size()), count);
    if (count == 0)
        return;
    QCOMPARE(QString::fromStdString(list.front()), first);
    QCOMPARE(QString::fromStdString(list.back()), last);
    // In order, one apart, all sharing the PC's first three octets.
    const QString front = pc.left(pc.lastIndexOf('.') + 1);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const QString c = QString::fromStdString(list[i]);
        QVERIFY2(c.startsWith(front), qPrintable(c));
        if (i > 0) {
            const int prev = QString::fromStdString(list[i - 1]).mid(front.size()).toInt();
            QCOMPARE(c.mid(front.size()).toInt(), prev + 1);
        }
    }
}

void AddressChoiceTest::manualProposal_data()
{
    QTest::addColumn<Octets>("pc");
    QTest::addColumn<Octets>("mask");
    QTest::addColumn<Octets>("expected");

    QTest::newRow("/24") << Octets{192, 168, 1, 37} << Octets{255, 255, 255, 0}
                         << Octets{192, 168, 1, 1};
    QTest::newRow("/16") << Octets{192, 168, 1, 37} << Octets{255, 255, 0, 0}
                         << Octets{192, 168, 0, 1};
    QTest::newRow("/8") << Octets{10, 20, 30, 40} << Octets{255, 0, 0, 0} << Octets{10, 0, 0, 1};
    QTest::newRow("/25: an octet not exactly 255 is replaced")
        << Octets{192, 168, 1, 200} << Octets{255, 255, 255, 128} << Octets{192, 168, 1, 1};
    QTest::newRow("/32 keeps the PC's address")
        << Octets{192, 168, 1, 37} << Octets{255, 255, 255, 255} << Octets{192, 168, 1, 37};
}

void AddressChoiceTest::manualProposal()
{
    QFETCH(Octets, pc);
    QFETCH(Octets, mask);
    QFETCH(Octets, expected);
    QCOMPARE(proposeManualAddress(pc, mask), expected);
}

QTEST_APPLESS_MAIN(AddressChoiceTest)
#include "AddressChoiceTest.moc"
