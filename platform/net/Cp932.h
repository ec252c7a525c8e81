#pragma once
// Code page 932 (Microsoft's Shift-JIS) text conversion. Units send their texts
// in this code page and the setup request goes out in it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace platform::cp932 {

// Bytes to text. Bytes that are not valid CP932 become U+FFFD; *ok (if given)
// is false then. A lead byte at the very end is such a byte, not held back.
QString decode(QByteArrayView bytes, bool* ok = nullptr);

// Text to bytes. Characters CP932 cannot hold become "?"; *ok is false then.
QByteArray encode(QStringView text, bool* ok = nullptr);

// True when a conversion is available on this system (checked once at start-up).
bool available();

} // namespace platform::cp932
