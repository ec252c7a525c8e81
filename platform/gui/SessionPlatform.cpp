// Chooses the Qt platform plugin from the session's variables before the
// application object exists, and takes the choice back from the environment
// afterwards so that programs we start do not inherit it.

#include "platform/gui/SessionPlatform.h"

#include <QByteArray>
#include <QtGlobal>
#include <cstddef>
#include <string_view>

namespace platform {
namespace {

constexpr char kPlatformVariable[] = "QT_QPA_PLATFORM";
// Wayland stays the fallback, should the X server not take the connection.
constexpr std::string_view kX11First = "xcb;wayland";

} // namespace

std::string_view platformToRequest(std::string_view chosenPlatform, std::string_view waylandDisplay,
                                   std::string_view x11Display)
{
    if (!chosenPlatform.empty() || waylandDisplay.empty() || x11Display.empty())
        return {};
    return kX11First;
}

bool requestSessionPlatform()
{
#ifdef Q_OS_WIN
    // Windows has one platform of its own; MSYS2 or Cygwin may set both
    // variables without there being an X server or a Wayland compositor.
    return false;
#else
    const QByteArray chosen = qgetenv(kPlatformVariable);
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    const QByteArray x11 = qgetenv("DISPLAY");
    const std::string_view platform =
        platformToRequest(std::string_view(chosen.constData(), std::size_t(chosen.size())),
                          std::string_view(wayland.constData(), std::size_t(wayland.size())),
                          std::string_view(x11.constData(), std::size_t(x11.size())));
    if (platform.empty())
        return false;
    return qputenv(kPlatformVariable, QByteArray(platform.data(), qsizetype(platform.size())));
#endif
}

void forgetSessionPlatformRequest(bool requested)
{
    if (requested)
        qunsetenv(kPlatformVariable);
}

} // namespace platform
