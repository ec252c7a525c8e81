#pragma once
// Opens a unit's file share and its web administration page in the desktop's
// own programs. Both take the unit's address as a dotted quad; callers pass
// the reading the subnet check made, not the unit's text as sent.

#include <QString>

namespace platform {

// The address as a plain dotted quad, or an empty text when it is anything
// else (a unit's text must not turn into another host, path or option).
QString plainIpv4(const QString& address);

// Linux: smb://ADDR/ through the desktop's opener.
// Windows: explorer.exe with \\ADDR\ (the unit's share list).
// False when the address is not a plain IPv4 address or nothing could be started.
bool openShare(const QString& address);

// Linux: http://ADDR/ through the desktop's opener.
// Windows: http://ADDR/ in the user's default browser; iexplore.exe with
// the same address only where no program is registered for http.
bool openWebPage(const QString& address);

} // namespace platform
