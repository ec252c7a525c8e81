// The settings dialog's free-address search on a fake echo client, with the
// pause after each probe timed; the chosen address then goes to a fake unit
// on loopback.

#include "tests/gui/settings/Form3Fixture.h"

#include <QElapsedTimer>
#include <QTest>

using namespace form3test;

class Form3SearchTest : public QObject
{
    Q_OBJECT

private slots:
    void search_data();
    void search();
};

void Form3SearchTest::search_data()
{
    QTest::addColumn<QString>("pcAddress");
    QTest::addColumn<QString>("pcMask");
    QTest::addColumn<QString>("pcGateway");
    QTest::addColumn<QStringList>("echoTaken");
    QTest::addColumn<QStringList>("arpTaken");
    QTest::addColumn<QString>("failOn");
    QTest::addColumn<int>("probes");
    QTest::addColumn<QString>("chosen"); // empty: nothing sent
    QTest::addColumn<QString>("message");

    QTest::newRow(".1 answers, .2 is free")
        << "192.168.1.37"
        << "255.255.255.0"
        << "192.168.1.1" << QStringList{"192.168.1.1"} << QStringList{} << "" << 2 << "192.168.1.2"
        << "";
    QTest::newRow("a host that only answers ARP is skipped")
        << "192.168.1.37"
        << "255.255.255.0"
        << "192.168.1.1" << QStringList{"192.168.1.1"} << QStringList{"192.168.1.2"} << "" << 3
        << "192.168.1.3"
        << "";
    QTest::newRow("upper half of a /25 searches its own half")
        << "192.168.1.200"
        << "255.255.255.128"
        << "192.168.1.254" << QStringList{} << QStringList{} << "" << 1 << "192.168.1.129"
        << "";
    QTest::newRow("every candidate of a /29 taken")
        << "192.168.1.2"
        << "255.255.255.248"
        << "192.168.1.1" << QStringList{"192.168.1.1", "192.168.1.2", "192.168.1.3", "192.168.1.4"}
        << QStringList{"192.168.1.5", "192.168.1.6"} << "" << 6 << ""
        << text(settings::messages::kNoFreeAddress);
    QTest::newRow("a probe error ends the attempt")
        << "192.168.1.37"
        << "255.255.255.0"
        << "192.168.1.1" << QStringList{"192.168.1.1"} << QStringList{} << "192.168.1.2" << 2 << ""
        << "Cannot allocate socket.";
}

void Form3SearchTest::search()
{
    QFETCH(QString, pcAddress);
    QFETCH(QString, pcMask);
    QFETCH(QString, pcGateway);
    QFETCH(QStringList, echoTaken);
    QFETCH(QStringList, arpTaken);
    QFETCH(QString, failOn);
    QFETCH(int, probes);
    QFETCH(QString, chosen);
    QFETCH(QString, message);

    Fixture f(true, qPrintable(pcAddress), qPrintable(pcMask), qPrintable(pcGateway));
    for (const QString& a : echoTaken)
        f.prober->taken.insert(a.toStdString());
    for (const QString& a : arpTaken)
        f.arpTaken.insert(a.toStdString());
    f.prober->failOn = failOn.toStdString();
    f.unit.answer = QByteArray("0C02R") + kIdentity + "2";
    MessageBoxCatcher boxes;
    f.form->show();
    f.child<QLineEdit>("Edit1")->setText(QStringLiteral("admin"));
    f.child<platform::SecretEdit>("Edit2")->type(u"pw");

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(f.child<QPushButton>("Button1"), Qt::LeftButton);
    const qint64 searchMs = clock.elapsed();

    QCOMPARE(int(f.prober->asked.size()), probes);
    QCOMPARE(f.prober->lastTimeout, 100);
    // Each probe that ends normally is followed by its 500 ms pause.
    const int pauses = failOn.isEmpty() ? probes : probes - 1;
    QVERIFY2(searchMs >= pauses * 500 - 20, qPrintable(QString::number(searchMs)));
    if (chosen.isEmpty()) {
        QTRY_COMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.boxes().first().title, text("エラー"));
        QVERIFY(f.idleButtons());
        QVERIFY(f.form->isVisible());
        QCOMPARE(f.form->phase(), Form3::Phase::Idle);
        QVERIFY(f.requestsBeforeMarker().isEmpty());
        QVERIFY(!f.form->exchange().isOpen());
        return;
    }
    QTRY_COMPARE(f.unit.requests.size(), 1);
    QCOMPARE(f.unit.requests.first(), QByteArray("0C02S") + kIdentity + chosen.toLatin1() + ";" +
                                          pcMask.toLatin1() + ";" + pcGateway.toLatin1() +
                                          ";MRV7K2;WORKGROUP;;admin;pw");
    QTRY_VERIFY(!f.form->isVisible());
    QCOMPARE(f.form->result(), int(QDialog::Accepted));
    QCOMPARE(boxes.texts(), QStringList{text("NASセットアップ成功")});
}

QTEST_MAIN(Form3SearchTest)
#include "Form3SearchTest.moc"
