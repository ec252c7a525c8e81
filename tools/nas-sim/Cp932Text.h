#pragma once
// UTF-8 command-line text to the bytes a unit sends (code page 932, Microsoft's table).

#include <QByteArray>
#include <QString>
#include <optional>

class Cp932Text
{
public:
    // nullopt when a character has no CP932 form.
    static std::optional<QByteArray> encode(const QString& text);
};
