#pragma once
// Code page 932 (Microsoft's Shift-JIS) text conversion. Units send their texts
// in this code page and the setup request goes out in it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstddef>

namespace platform::cp932 {

// Bytes to text. Bytes that are not valid CP932 become U+FFFD; *ok (if given)
// is false then. A lead byte at the very end is such a byte, not held back.
QString decode(QByteArrayView bytes, bool* ok = nullptr);

// Text to bytes. Characters CP932 cannot hold become "?"; *ok is false then.
QByteArray encode(QStringView text, bool* ok = nullptr);

// Text to bytes straight into out, a character at a time, so that no
// scratch buffer ever holds more than one character of it: for a password.
// The bytes written, or -1 when they would not fit capacity (out is then
// left all zero). Characters CP932 cannot hold become "?" as above.
qsizetype encodeInto(QStringView text, char* out, std::size_t capacity, bool* ok = nullptr);

// True when a conversion is available on this system (checked once at start-up).
bool available();

} // namespace platform::cp932
