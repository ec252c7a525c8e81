#pragma once
// Byte strings written on a command line or in a log: hex and backslash escapes.

#include <QByteArray>
#include <QString>
#include <optional>

class ByteText
{
public:
    // "30 43 30 31 52" or "3043303152"; nullopt on an odd digit count or a non-hex character.
    static std::optional<QByteArray> fromHex(const QString& text);
    // Latin-1 text with \xHH, \0, \n, \r, \t and \\ escapes; nullopt on a bad escape.
    static std::optional<QByteArray> fromEscaped(const QString& text);
    // Printable ASCII as is, everything else as \xHH (and \\ for a backslash).
    static QString escaped(const QByteArray& bytes);
};
