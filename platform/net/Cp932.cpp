// The CP932 conversions the program calls: plain ASCII handled here, the
// rest handed to the OS's converter, and a text encoded into a fixed field.

#include "platform/net/Cp932.h"

#include "platform/core/SecureWipe.h"
#include "platform/net/Cp932Converter.h"

#include <algorithm>
#include <cstring>

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

qsizetype encodeInto(QStringView text, char* out, std::size_t capacity, bool* ok)
{
    bool good = true;
    std::size_t written = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character (and never in this code page).
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        bool one = true;
        // A lone surrogate is no character: an encoder given it alone waits
        // for its other half and writes nothing, where the whole text gets "?".
        QByteArray bytes = length == 1 && text[i].isSurrogate() ? QByteArray(1, '?')
                                                                : encode(text.mid(i, length), &one);
        one = one && !(length == 1 && text[i].isSurrogate());
        good = good && one;
        const auto size = static_cast<std::size_t>(bytes.size());
        const bool fits = size <= capacity - written;
        if (fits) {
            std::memcpy(out + written, bytes.constData(), size);
            written += size;
        }
        secureWipe(bytes.data(), size);
        if (!fits) {
            secureWipe(out, capacity);
            return -1;
        }
        i += length - 1;
    }
    if (ok)
        *ok = good;
    return static_cast<qsizetype>(written);
}

} // namespace platform::cp932
