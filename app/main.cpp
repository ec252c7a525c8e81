// mrv7k2-setup: finds MRV-7K2 units on the LAN, guides their set-up and opens
// their share, web page and network settings.

#include "app/AfterFirstPaint.h"
#include "app/ProjectInfo.h"
#include "app/StartUpActivation.h"
#include "mainwindow/Form2.h"
#include "mainwindow/Form_SelectNAS.h"
#include "platform/gui/ControlsTiming.h"
#include "platform/gui/Fonts.h"
#include "platform/gui/HeldKeys.h"
#include "platform/gui/JapaneseTexts.h"
#include "platform/gui/SessionPlatform.h"
#include "platform/net/SingleInstance.h"
#include "platform/os/Privileges.h"
#include "platform/os/SecretMemory.h"
#include "settings/Form3.h"

#include <QApplication>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>

namespace {

// NOLINTNEXTLINE(cert-err58-cpp): QStringLiteral is built at compile time, nothing can throw
const QString kApplicationTitle = QStringLiteral("MRV-7K2");

// The main window's creation step: one instance per user. False for a later
// start, which has asked the running one to bring its window forward and
// leaves without showing anything.
bool FormCreate(platform::SingleInstance& instance, const QString& launchToken,
                mainwindow::Form_SelectNAS& mainWindow,
                const std::unique_ptr<mainwindow::Form2>& searchWindow)
{
    if (instance.claim(launchToken) != platform::SingleInstance::Outcome::Primary)
        return false;
    QObject::connect(&instance, &platform::SingleInstance::activationRequested, &mainWindow,
                     [&mainWindow, &searchWindow](const QString& activationToken) {
                         app::bringForward(&mainWindow, searchWindow.get(), activationToken);
                     });
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // Before anything opens a descriptor that could take a closed one's number.
    platform::openStandardDescriptors();
    // Before any thread reads the environment: the launcher's token stays
    // with us, not with the file manager and browser we start later.
    QString launchToken = app::takeLaunchToken();
    // Before the toolkit loads any plugin and before any thread exists: the
    // raw ICMP socket, where one is needed at all, goes to our helper
    // process, and this process keeps no capability, whatever its file or
    // its parent gave it. Where the system refuses the drop (a seccomp or
    // security-module rule) and one is still held, the toolkit does not start.
    platform::startIcmpHelperIfNeeded();
    if (!platform::dropAllCapabilities() && platform::holdsAnyCapability()) {
        (void)std::fputs("mrv7k2-setup: the system refused to drop this program's capabilities; "
                         "it does not start with them.\n",
                         stderr);
        return 1;
    }
    // The settings dialog holds an administrator's password, which no core
    // file and no tool of the same user may read.
    platform::forbidProcessInspection();

    // X11 (through XWayland) where a Wayland session offers it, unless the
    // user chose; only for this process, not for what it starts.
    const bool platformRequested = platform::requestSessionPlatform();
    QApplication application(argc, argv);
    platform::forgetSessionPlatformRequest(platformRequested);
    // The title names the running instance; the main window's caption is the same.
    QApplication::setApplicationName(kApplicationTitle);
    // The program ends through the close question's OK or the network check's
    // message, never because a window manager closed its last visible window.
    QApplication::setQuitOnLastWindowClosed(false);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(
        QString::fromUtf8(app::kDesktopId.data(), qsizetype(app::kDesktopId.size())));
    platform::installFontSubstitutions();
    platform::ignoreHeldKeyRepeats();
    platform::installJapaneseTexts();

    // Declared first so that it is destroyed last: the main window refers to it.
    std::unique_ptr<mainwindow::Form2> searchWindow;

    // 1. The main window, hidden; it checks the PC's network and reports
    //    nothing yet. Its controls are made once the search window is on
    //    screen (below), or earlier if something needs them.
    mainwindow::Form_SelectNAS mainWindow(platform::ControlsTiming::Later);

    // 2. One instance per user; the desktop id is its name on the session bus.
    platform::SingleInstance instance(kApplicationTitle);
    instance.useSessionBus(QGuiApplication::desktopFileName());
    if (!FormCreate(instance, launchToken, mainWindow, searchWindow))
        return 0;

    // 3. The search window shows itself and sets the page state to 1; the
    //    launcher's token lets it take the focus.
    if (app::activateWithToken(launchToken, [&searchWindow, &mainWindow] {
            searchWindow = std::make_unique<mainwindow::Form2>(mainWindow.guidePageState());
        }))
        launchToken.clear();
    // A token the search window's show did not use is the main window's, at
    // the end of the first scan; it is dropped after that in any case.
    mainWindow.setFirstActivation([&launchToken](const std::function<void()>& bringUp) {
        (void)app::activateWithToken(std::exchange(launchToken, QString()), bringUp);
    });
    mainWindow.setSearchWindow(searchWindow.get());
    // Only what the search window shows is made before it is drawn; the main
    // window's controls follow on the event loop, long before the scan ends.
    app::afterFirstPaint(searchWindow.get(), [&mainWindow] { mainWindow.makeControls(); });

    // 4. The settings dialog, made hidden, opened modally from the device list
    //    (its controls are made when it is first opened).
    settings::Form3 settingsDialog(
        mainWindow.deviceTable(), mainWindow.selectedUnitNetwork(),
        [&mainWindow] { return mainWindow.selectedItemIndex(); }, platform::ControlsTiming::Later);
    mainWindow.setSettingsDialog(&settingsDialog);

    // 5. The first scan. The main window is not shown here: the end of that
    //    scan shows it, so during the scan the search window stands alone
    //    (Timer2 still runs and finds the main window already hidden). Started
    //    directly because a window that is never shown is never activated.
    mainWindow.startFirstScan();

    return QApplication::exec();
}
