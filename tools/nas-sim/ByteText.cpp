// Bytes from hex or escaped command-line text, and back to escaped text.

#include "tools/nas-sim/ByteText.h"

#include <optional>

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

std::optional<QByteArray> ByteText::fromHex(const QString& text)
{
    QString digits = text;
    digits.remove(QLatin1Char(' ')).remove(QLatin1Char(':'));
    if (digits.size() % 2 != 0)
        return std::nullopt;
    QByteArray out;
    out.reserve(digits.size() / 2);
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        const int hi = hexDigit(digits[i]);
        const int lo = hexDigit(digits[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out.append(static_cast<char>(hi * 16 + lo));
    }
    return out;
}

std::optional<QByteArray> ByteText::fromEscaped(const QString& text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() > 0xFF)
            return std::nullopt;
        if (c != QLatin1Char('\\')) {
            out.append(static_cast<char>(c.unicode()));
            continue;
        }
        if (i + 1 >= text.size())
            return std::nullopt;
        const QChar e = text[++i];
        switch (e.unicode()) {
        case '0':
            out.append('\0');
            break;
        case 'n':
            out.append('\n');
            break;
        case 'r':
            out.append('\r');
            break;
        case 't':
            out.append('\t');
            break;
        case '\\':
            out.append('\\');
            break;
        case 'x': {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int hi = hexDigit(text[i + 1]);
            const int lo = hexDigit(text[i + 2]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            out.append(static_cast<char>(hi * 16 + lo));
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

QString ByteText::escaped(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == '\\')
            out += QStringLiteral("\\\\");
        else if (b >= 0x20 && b < 0x7F)
            out += QLatin1Char(static_cast<char>(b));
        else
            out += QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
    }
    return out;
}
