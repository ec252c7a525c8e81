// Encodes command-line text into CP932 with Qt's codec or iconv.

#include "tools/nas-sim/Cp932Text.h"

#include <QStringEncoder>
#include <cstddef>
#include <iconv.h>
#include <optional>

namespace {

std::optional<QByteArray> encodeWithIconv(const QString& text)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    // NOLINTNEXTLINE(performance-no-int-to-ptr): (iconv_t)-1 is iconv_open's failure value
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    auto inLeft = static_cast<size_t>(in.size());
    char* outPtr = out.data();
    auto outLeft = static_cast<size_t>(out.size());
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || inLeft != 0)
        return std::nullopt;
    out.truncate(out.size() - static_cast<qsizetype>(outLeft));
    return out;
}

} // namespace

std::optional<QByteArray> Cp932Text::encode(const QString& text)
{
    // "windows-31j" is ICU's name for Microsoft's CP932 (0x8160 is U+FF5E);
    // iconv's "CP932" is the same table. "SHIFT_JIS" would be the wrong one.
    QStringEncoder encoder("windows-31j");
    if (!encoder.isValid())
        return encodeWithIconv(text);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}
