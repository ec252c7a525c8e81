#pragma once
// The per-OS half of platform/net/Cp932: the conversions themselves, each in
// Microsoft's table, with the same marking of bad input on every OS: a byte
// that is no CP932 becomes U+FFFD, a lead byte without its trail byte too
// (the byte after it is read again), a character the table lacks becomes
// "?"; each sets good to false and leaves it alone otherwise.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace platform::cp932 {

bool converterAvailable();
QString convertToText(QByteArrayView bytes, bool& good);
QByteArray convertToBytes(QStringView text, bool& good);

} // namespace platform::cp932
