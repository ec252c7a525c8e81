#include "platform/net/Cp932.h"

#include "platform/net/Cp932Converter.h"

#include <algorithm>

namespace platform::cp932 {

bool available()
{
    return converterAvailable();
}

QString decode(QByteArrayView bytes, bool* ok)
{
    // Printable ASCII reads as itself in this code page (the tables differ
    // only on some control bytes). Most of what a unit sends is such text and
    // needs no converter: that is loaded only for the first text with other
    // bytes.
    bool good = true;
    QString text;
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
        text = QString::fromLatin1(bytes);
    else
        text = convertToText(bytes, good);
    if (ok)
        *ok = good;
    return text;
}

QByteArray encode(QStringView text, bool* ok)
{
    bool good = true;
    QByteArray out = convertToBytes(text, good);
    if (ok)
        *ok = good;
    return out;
}

} // namespace platform::cp932
