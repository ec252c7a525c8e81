// Windows: the share opened in Explorer and the web page in the default
// browser (Internet Explorer only where nothing takes http), every program
// started by its full path in a system folder.

#include "platform/gui/Opener.h"

// shellapi.h and shlobj.h need the types windows.h declares.
// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <array>

namespace platform {
namespace {

// Programs are started by their full path: a bare name is looked up through
// the current folder and PATH, where anyone could have put one of that name.
// The folders come from the system, never from the environment. The system's
// Windows folder, not the per-user one a Remote Desktop server gives.
QString windowsFolderFile(const wchar_t* file)
{
    std::array<wchar_t, MAX_PATH + 1> folder{};
    const UINT length = GetSystemWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length == 0 || length >= folder.size())
        return {};
    return QString::fromWCharArray(folder.data(), static_cast<qsizetype>(length)) +
           QLatin1Char('\\') + QString::fromWCharArray(file);
}

QString programFilesFile(const wchar_t* file)
{
    PWSTR folder = nullptr;
    QString path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramFiles, 0, nullptr, &folder)) && folder)
        path = QString::fromWCharArray(folder) + QLatin1Char('\\') + QString::fromWCharArray(file);
    CoTaskMemFree(folder);
    return path;
}

// ShellExecute reports success with a value above 32, and a scheme or type
// no program is registered for with SE_ERR_NOASSOC.
INT_PTR shellExecute(const QString& file, const QString& parameters)
{
    return reinterpret_cast<INT_PTR>(ShellExecuteW(
        nullptr, nullptr, reinterpret_cast<LPCWSTR>(file.utf16()),
        parameters.isEmpty() ? nullptr : reinterpret_cast<LPCWSTR>(parameters.utf16()), nullptr,
        SW_SHOW));
}

bool shellStart(const QString& file, const QString& parameters)
{
    return shellExecute(file, parameters) > 32;
}

} // namespace

bool openShare(const QString& address)
{
    const QString host = plainIpv4(address);
    if (host.isEmpty())
        return false;
    const QString explorer = windowsFolderFile(L"explorer.exe");
    if (explorer.isEmpty())
        return false;
    return shellStart(explorer, QStringLiteral("\\\\%1\\").arg(host));
}

bool openWebPage(const QString& address)
{
    const QString host = plainIpv4(address);
    if (host.isEmpty())
        return false;
    // The user's default browser. Internet Explorer is retired (on current
    // Windows iexplore.exe only hands the address to Edge), so it is asked
    // for only where no program at all is registered for http.
    const QString url = QStringLiteral("http://%1/").arg(host);
    const INT_PTR result = shellExecute(url, QString());
    if (result > 32)
        return true;
    if (result != SE_ERR_NOASSOC)
        return false;
    const QString iexplore = programFilesFile(L"Internet Explorer\\iexplore.exe");
    return !iexplore.isEmpty() && shellStart(iexplore, url);
}

} // namespace platform
