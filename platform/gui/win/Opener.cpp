#include "platform/gui/Opener.h"

// shellapi.h needs the types windows.h declares.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

namespace platform {
namespace {

// ShellExecute reports success with a value above 32.
bool shellStart(const QString& file, const QString& parameters)
{
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        nullptr, nullptr, reinterpret_cast<LPCWSTR>(file.utf16()),
        parameters.isEmpty() ? nullptr : reinterpret_cast<LPCWSTR>(parameters.utf16()), nullptr,
        SW_SHOW));
    return result > 32;
}

} // namespace

bool openShare(const QString& address)
{
    const QString host = plainIpv4(address);
    if (host.isEmpty())
        return false;
    return shellStart(QStringLiteral("explorer.exe"), QStringLiteral("\\\\%1\\").arg(host));
}

bool openWebPage(const QString& address)
{
    const QString host = plainIpv4(address);
    if (host.isEmpty())
        return false;
    if (shellStart(QStringLiteral("iexplore.exe"), host))
        return true;
    // Newer Windows no longer ships Internet Explorer: the default browser.
    return shellStart(QStringLiteral("http://%1/").arg(host), QString());
}

} // namespace platform
