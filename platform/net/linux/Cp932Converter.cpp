// Linux half of the CP932 converter.

#include "platform/net/Cp932Converter.h"

#include "platform/core/SecureWipe.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cerrno>
#include <cstddef>
#include <iconv.h>
#include <string_view>

// Linux: Qt's ICU table "windows-31j" where Qt has ICU, with its three swapped
// control codes put right; otherwise iconv's "CP932".
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

bool opened(iconv_t cd)
{
    // NOLINTNEXTLINE(performance-no-int-to-ptr): (iconv_t)-1 is iconv_open's failure value
    return cd != reinterpret_cast<iconv_t>(-1);
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
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast): iconv never writes its input
    char* inPtr = const_cast<char*>(in.data());
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

} // namespace

bool converterAvailable()
{
    if (qtHasCp932())
        return true;
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (!opened(cd))
        return false;
    iconv_close(cd);
    return true;
}

QString convertToText(QByteArrayView bytes, bool& good)
{
    if (!qtHasCp932()) {
        const QByteArray utf16 = iconvConvert("UTF-16LE", "CP932", bytes, good);
        return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
    }
    QString text;
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
    return text;
}

QByteArray convertToBytes(QStringView text, bool& good)
{
    if (!qtHasCp932()) {
        return iconvConvert(
            "CP932", "UTF-16LE",
            QByteArrayView(reinterpret_cast<const char*>(text.utf16()), text.size() * 2), good);
    }
    QByteArray out;
    // Room for every character as a pair, so that no growth leaves a copy of
    // a password behind.
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
    return out;
}

} // namespace platform::cp932
