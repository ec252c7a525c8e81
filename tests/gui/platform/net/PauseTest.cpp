// The responsive pause: it lasts as asked and timers and queued work go on.

#include "platform/net/Pause.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

class PauseTest : public QObject
{
    Q_OBJECT

private slots:
    void lastsAsLongAsAsked_data();
    void lastsAsLongAsAsked();
    void timersAndQueuedWorkRun();
};

void PauseTest::lastsAsLongAsAsked_data()
{
    QTest::addColumn<int>("ms");
    QTest::newRow("nothing") << 0;
    QTest::newRow("negative") << -5;
    QTest::newRow("short") << 50;
    QTest::newRow("probe pause") << 500;
}

void PauseTest::lastsAsLongAsAsked()
{
    QFETCH(int, ms);
    QElapsedTimer clock;
    clock.start();
    platform::pauseResponsive(ms);
    const qint64 took = clock.elapsed();
    QVERIFY2(took >= qMax(ms, 0) - 2, qPrintable(QString::number(took)));
    QVERIFY2(took < qMax(ms, 0) + 150, qPrintable(QString::number(took)));
}

void PauseTest::timersAndQueuedWorkRun()
{
    QLineEdit edit;
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));

    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(50);

    // Work queued for the event loop (a repaint, a queued call) runs during the pause.
    bool queuedRan = false;
    QMetaObject::invokeMethod(
        &edit, [&queuedRan] { queuedRan = true; }, Qt::QueuedConnection);
    platform::pauseResponsive(400);
    QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
    QVERIFY(queuedRan);
}

QTEST_MAIN(PauseTest)
#include "PauseTest.moc"
