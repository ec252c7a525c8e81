// Bringing the running instance's window forward for a later start: with the
// launcher's activation token under Wayland, by raising it elsewhere.

#include "app/StartUpActivation.h"

#include "platform/net/ActivationRequest.h"

#include <QGuiApplication>
#include <QString>
#include <QWidget>
#include <functional>

namespace app {
namespace {

constexpr char kActivationTokenVariable[] = "XDG_ACTIVATION_TOKEN";

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

QString takeLaunchToken()
{
    const QByteArray token = qgetenv(kActivationTokenVariable);
    qunsetenv(kActivationTokenVariable);
    if (!platform::isAcceptableActivationToken(std::string_view(token.data(), token.size())))
        return {};
    return QString::fromLatin1(token);
}

bool activateWithToken(const QString& token, const std::function<void()>& activate)
{
    const bool put = onWayland() && !token.isEmpty();
    if (put)
        qputenv(kActivationTokenVariable, token.toLatin1());
    activate();
    if (!put)
        return false;
    // Qt's plugin reads the token (and removes it) while the window is shown
    // or activated above, on this thread; past that it only leaks to what
    // we start.
    const bool taken = !qEnvironmentVariableIsSet(kActivationTokenVariable);
    qunsetenv(kActivationTokenVariable);
    return taken;
}

void bringForward(QWidget* mainWindow, QWidget* searchWindow, const QString& activationToken)
{
    (void)activateWithToken(activationToken, [mainWindow, searchWindow] {
        if (mainWindow && mainWindow->isVisible()) {
            if (mainWindow->isMinimized())
                mainWindow->showNormal();
            mainWindow->raise();
            mainWindow->activateWindow();
            return;
        }
        if (searchWindow && searchWindow->isVisible()) {
            searchWindow->raise();
            // Raising is the window manager's to do on X11; a Wayland
            // compositor raises only a window it activates.
            if (onWayland())
                searchWindow->activateWindow();
        }
    });
}

} // namespace app
