#include "platform/net/Cp932.h"

#include "platform/os/SecureWipe.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cstring>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace platform::cp932 {
namespace {

constexpr char16_t kQtBadByte = 0x001A; // what Qt's ICU decoder puts for a bad byte
constexpr char16_t kReplacement = 0xFFFD;

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// True when the last byte is a lead byte whose trail byte is missing.
bool endsInsideCharacter(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size()) {
        if (isLeadByte(static_cast<unsigned char>(bytes[i]))) {
            if (i + 1 >= bytes.size())
                return true;
            i += 2;
        } else {
            ++i;
        }
    }
    return false;
}

// ICU's table behind "windows-31j" (IBM's 943) swaps three control codes:
// byte 0x1A reads as U+001C, 0x1C as U+007F and 0x7F as U+001A, and back.
// Microsoft's code page maps them to themselves. None of them is ever part of
// a two-byte character, so they are converted here and only the text between
// them goes through Qt; a U+001A from Qt then always marks a bad byte.
bool isSwappedControl(char16_t c)
{
    return c == 0x1A || c == 0x1C || c == 0x7F;
}

char16_t codeOf(char c)
{
    return static_cast<unsigned char>(c);
}

char16_t codeOf(QChar c)
{
    return c.unicode();
}

// Calls convert(run) for each run between swapped control codes and
// control(code) for each of those codes, in order.
template <typename Text, typename Run, typename Control>
void splitAtSwappedControls(Text text, Run convert, Control control)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const char16_t code = end ? char16_t(0) : codeOf(text[i]);
        if (!end && !isSwappedControl(code))
            continue;
        convert(text.sliced(start, i - start));
        if (!end)
            control(code);
        start = i + 1;
    }
}

bool qtHasCp932()
{
    static const bool valid =
        QStringDecoder("windows-31j").isValid() && QStringEncoder("windows-31j").isValid();
    return valid;
}

#ifndef _WIN32
bool opened(iconv_t cd)
{
    // (iconv_t)-1 is iconv_open's documented failure value.
    return cd != reinterpret_cast<iconv_t>(-1); // NOLINT(performance-no-int-to-ptr)
}

// Fallback through iconv's "CP932" (never "SHIFT_JIS": a different table).
QByteArray iconvConvert(const char* to, const char* from, QByteArrayView in, bool& ok)
{
    iconv_t cd = iconv_open(to, from);
    if (!opened(cd)) {
        ok = false;
        return {};
    }
    QByteArray out;
    out.resize(in.size() * 4 + 16);
    // iconv takes its input as char** for historical reasons; it never writes through it.
    char* inPtr = const_cast<char*>(in.data()); // NOLINT(cppcoreguidelines-pro-type-const-cast)
    auto inLeft = static_cast<size_t>(in.size());
    char* outPtr = out.data();
    auto outLeft = static_cast<size_t>(out.size());
    while (inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1))
            break;
        ok = false;
        if (errno == E2BIG)
            break; // cannot happen with the room reserved above
        // Skip one unusable input unit; the caller has marked the failure.
        const size_t skip = (std::string_view(from) == "UTF-16LE") ? 2 : 1;
        if (inLeft < skip)
            break;
        inPtr += skip;
        inLeft -= skip;
        if (std::string_view(to) == "UTF-16LE" && outLeft >= 2) {
            *outPtr++ = static_cast<char>(0xFD);
            *outPtr++ = static_cast<char>(0xFF);
            outLeft -= 2;
        } else if (outLeft >= 1) {
            *outPtr++ = '?';
            --outLeft;
        }
    }
    iconv_close(cd);
    out.resize(out.size() - static_cast<qsizetype>(outLeft));
    return out;
}
#endif

} // namespace

bool available()
{
#ifdef _WIN32
    return true;
#else
    if (qtHasCp932())
        return true;
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (!opened(cd))
        return false;
    iconv_close(cd);
    return true;
#endif
}

QString decode(QByteArrayView bytes, bool* ok)
{
    // Printable ASCII reads as itself in this code page (the table moves some
    // control bytes: 0x1A, 0x1C, 0x7F). Most of what a unit sends is such
    // text and needs no converter: that is loaded (about a megabyte) only
    // for the first text with other bytes.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) {
        if (ok)
            *ok = true;
        return QString::fromLatin1(bytes);
    }
    bool good = true;
    QString text;
    if (qtHasCp932()) {
        splitAtSwappedControls(
            bytes,
            [&](QByteArrayView run) {
                QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
                QString part = decoder.decode(run);
                if (decoder.hasError())
                    good = false;
                if (endsInsideCharacter(run)) {
                    good = false; // Qt drops a lead byte that has no trail byte
                    part.append(QChar(kReplacement));
                }
                if (part.contains(QChar(kQtBadByte))) {
                    good = false;
                    part.replace(QChar(kQtBadByte), QChar(kReplacement));
                }
                text += part;
            },
            [&](char16_t code) { text += QChar(code); });
    }
#ifndef _WIN32
    else {
        const QByteArray utf16 = iconvConvert("UTF-16LE", "CP932", bytes, good);
        text = QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
    }
#endif
    if (ok)
        *ok = good;
    return text;
}

QByteArray encode(QStringView text, bool* ok)
{
    bool good = true;
    QByteArray out;
    if (qtHasCp932()) {
        // Room for every character as a pair, so that no growth leaves a
        // copy of a password behind.
        out.reserve(text.size() * 2);
        splitAtSwappedControls(
            text,
            [&](QStringView run) {
                QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
                QByteArray raw = encoder.encode(run);
                if (encoder.hasError())
                    good = false;
                // Qt writes FC FC for a character the table lacks; FC FC is no
                // valid CP932 pair, so it marks exactly those places.
                for (qsizetype i = 0; i < raw.size(); ++i) {
                    const auto b = static_cast<unsigned char>(raw[i]);
                    if (isLeadByte(b) && i + 1 < raw.size()) {
                        if (b == 0xFC && static_cast<unsigned char>(raw[i + 1]) == 0xFC) {
                            out.append('?');
                            good = false;
                        } else {
                            out.append(raw[i]).append(raw[i + 1]);
                        }
                        ++i;
                    } else {
                        out.append(raw[i]);
                    }
                }
                // The scratch copy may hold a password on its way to a unit.
                secureWipe(raw.data(), static_cast<std::size_t>(raw.size()));
            },
            [&](char16_t code) { out.append(static_cast<char>(code)); });
    }
#ifndef _WIN32
    else {
        out = iconvConvert(
            "CP932", "UTF-16LE",
            QByteArrayView(reinterpret_cast<const char*>(text.utf16()), text.size() * 2), good);
    }
#endif
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
