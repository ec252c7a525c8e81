// What the running instance does with a later start's request.

#include "app/StartUpActivation.h"

#include <QWidget>
#include <QtTest>

class StartUpActivationTest : public QObject
{
    Q_OBJECT

private slots:
    void minimisedMainWindowIsRestored();
    void hiddenMainWindowStaysHiddenDuringTheSearch();
    void nothingOnScreenIsLeftAlone();
};

void StartUpActivationTest::minimisedMainWindowIsRestored()
{
    QWidget mainWindow;
    QWidget searchWindow;
    mainWindow.showMinimized();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow) || mainWindow.isMinimized());
    QVERIFY(mainWindow.isMinimized());

    app::bringForward(&mainWindow, &searchWindow, {});
    QVERIFY(!mainWindow.isMinimized());
    QVERIFY(mainWindow.isVisible());
    QVERIFY(!searchWindow.isVisible());
}

void StartUpActivationTest::hiddenMainWindowStaysHiddenDuringTheSearch()
{
    QWidget mainWindow;
    QWidget searchWindow;
    searchWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&searchWindow));

    app::bringForward(&mainWindow, &searchWindow, {});
    QVERIFY(!mainWindow.isVisible());
    QVERIFY(searchWindow.isVisible());
}

void StartUpActivationTest::nothingOnScreenIsLeftAlone()
{
    QWidget mainWindow;
    QWidget searchWindow;
    app::bringForward(&mainWindow, &searchWindow, {});
    app::bringForward(&mainWindow, nullptr, {});
    QVERIFY(!mainWindow.isVisible());
    QVERIFY(!searchWindow.isVisible());
}

QTEST_MAIN(StartUpActivationTest)
#include "StartUpActivationTest.moc"
