// Windows half of the CP932 converter.

#include "platform/net/Cp932Converter.h"

#include "platform/core/SecureWipe.h"

#include <windows.h>

// Windows: the system's own code page 932, one character at a time, so that a
// bad byte is marked where it stands (the system would put its own default
// character there and say nothing).
namespace platform::cp932 {
namespace {

constexpr UINT kCodePage = 932;
constexpr char16_t kReplacement = 0xFFFD;

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// One character of one or two bytes, or false when the table has none.
bool decodeOne(const char* bytes, int size, wchar_t& out)
{
    return MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, size, &out, 1) == 1;
}

} // namespace

bool converterAvailable()
{
    CPINFO info{};
    return GetCPInfo(kCodePage, &info) != 0;
}

QString convertToText(QByteArrayView bytes, bool& good)
{
    QString text;
    text.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        wchar_t c = 0;
        if (!isLeadByte(b)) {
            if (decodeOne(bytes.data() + i, 1, c)) {
                text += QChar(static_cast<char16_t>(c));
            } else {
                text += QChar(kReplacement);
                good = false;
            }
            ++i;
            continue;
        }
        const bool hasTrail =
            i + 1 < bytes.size() && isTrailByte(static_cast<unsigned char>(bytes[i + 1]));
        if (hasTrail && decodeOne(bytes.data() + i, 2, c)) {
            text += QChar(static_cast<char16_t>(c));
        } else {
            text += QChar(kReplacement);
            good = false;
        }
        // An unassigned pair is one bad character; a lead byte followed by no
        // trail byte is bad alone, and what follows it is read again.
        i += hasTrail ? 2 : 1;
    }
    return text;
}

QByteArray convertToBytes(QStringView text, bool& good)
{
    // One character at a time, so that each one the code page lacks (a
    // surrogate pair is one) becomes one "?", as on Linux. At most two bytes
    // a UTF-16 unit, written into room made first, so that no growth leaves a
    // copy of a password behind.
    QByteArray out(text.size() * 2, '\0');
    qsizetype written = 0;
    const auto* units = reinterpret_cast<const wchar_t*>(text.utf16());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const int length = pair ? 2 : 1;
        char bytes[2] = {};
        BOOL usedDefault = FALSE;
        const int size = text[i].isSurrogate() && !pair
                             ? 0
                             : WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, units + i,
                                                   length, bytes, sizeof bytes, "?", &usedDefault);
        if (size <= 0 || usedDefault != FALSE) {
            out[written++] = '?';
            good = false;
        } else {
            for (int b = 0; b < size; ++b)
                out[written++] = bytes[b];
        }
        secureWipe(bytes, sizeof bytes);
        i += length - 1;
    }
    out.resize(written);
    return out;
}

} // namespace platform::cp932
