// Linux: the share and the web page opened through xdg-open, or Qt's desktop
// services where it is missing.

#include "platform/gui/Opener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {
namespace {

// xdg-open hands the address to whatever the desktop has chosen for the
// scheme; the started program outlives us. Without xdg-open, Qt's own
// desktop services try the same.
bool openUrl(const QString& url)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty())
        return QProcess::startDetached(opener, {url});
    return QDesktopServices::openUrl(QUrl(url));
}

} // namespace

bool openShare(const QString& address)
{
    const QString host = plainIpv4(address);
    if (host.isEmpty())
        return false;
    return openUrl(QStringLiteral("smb://%1/").arg(host));
}

bool openWebPage(const QString& address)
{
    const QString host = plainIpv4(address);
    if (host.isEmpty())
        return false;
    return openUrl(QStringLiteral("http://%1/").arg(host));
}

} // namespace platform
