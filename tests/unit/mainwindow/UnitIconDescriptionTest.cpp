// Proves that each kind of unit icon is put into words: the usage level, the
// unknown free space, and the outside-subnet mark wherever the icon has it.

#include "mainwindow/core/UnitIconDescription.h"

#include <QtTest>

using namespace mainwindow;

class UnitIconDescriptionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void described_data();
    void described();
};

void UnitIconDescriptionTest::described_data()
{
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty disk") << 0 << QStringLiteral("ディスク使用率 約0%");
    QTest::newRow("half") << 10 << QStringLiteral("ディスク使用率 約50%");
    QTest::newRow("full") << 20 << QStringLiteral("ディスク使用率 約100%");
    QTest::newRow("no free value") << 21 << QStringLiteral("空き容量不明");
    QTest::newRow("half, other subnet")
        << 32 << QStringLiteral("ディスク使用率 約50%、このPCのサブネット外");
    QTest::newRow("no free value, other subnet")
        << 43 << QStringLiteral("空き容量不明、このPCのサブネット外");
    QTest::newRow("below the icons") << -1 << QString();
    QTest::newRow("beyond the icons") << 44 << QString();
}

void UnitIconDescriptionTest::described()
{
    QFETCH(int, icon);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(unitIconDescription(icon)), text);
}

QTEST_APPLESS_MAIN(UnitIconDescriptionTest)
#include "UnitIconDescriptionTest.moc"
