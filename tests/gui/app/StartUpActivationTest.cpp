// What the running instance does with a later start's request, and that no
// activation token stays in the environment for the programs it starts.

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
    void tokensStayOutOfTheEnvironment();
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

void StartUpActivationTest::tokensStayOutOfTheEnvironment()
{
    qputenv("XDG_ACTIVATION_TOKEN", "launcher/1");
    QCOMPARE(app::takeLaunchToken(), QStringLiteral("launcher/1"));
    QVERIFY(!qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
    qputenv("XDG_ACTIVATION_TOKEN", "two words");
    QCOMPARE(app::takeLaunchToken(), QString());
    QVERIFY(!qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));

    // Used or not (no window to activate), a later start's token is gone after.
    QWidget mainWindow;
    bool ran = false;
    app::activateWithToken(QStringLiteral("later/2"), [&ran] { ran = true; });
    app::bringForward(&mainWindow, nullptr, QStringLiteral("later/3"));
    QVERIFY(ran);
    QVERIFY(!qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
}

QTEST_MAIN(StartUpActivationTest)
#include "StartUpActivationTest.moc"
