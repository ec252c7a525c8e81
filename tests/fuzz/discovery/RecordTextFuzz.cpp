// Any bytes as a record field, decoded from CP932 into display text: the
// decoding ends at the field's end or first zero, plain ASCII stays as it is,
// and the decoder's own marks for bad bytes never reach the screen.

#include "discovery/RecordText.h"
#include "platform/net/Cp932.h"
#include "tests/testsupport/FuzzDriver.h"

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A field of exactly the input's length, so the sanitizer sees any read past it.
    std::unique_ptr<char[]> field(new char[size ? size : 1]);
    if (size)
        std::memcpy(field.get(), data, size);
    const QString text = discovery::fieldTextOf(field.get(), size);

    const char* zero = size ? static_cast<const char*>(std::memchr(field.get(), 0, size)) : nullptr;
    const QByteArrayView bytes(field.get(), zero ? zero - field.get() : qsizetype(size));
    fuzz::require(text.size() <= bytes.size());
    bool ascii = true;
    for (const char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        fuzz::require(text == QString::fromLatin1(bytes));
    if (!bytes.contains('\x1A'))
        fuzz::require(!text.contains(QChar(0x1A)));

    bool ok = false;
    const QString decoded = platform::cp932::decode(bytes, &ok);
    fuzz::require(decoded == text);
    if (ok)
        fuzz::require(!decoded.contains(QChar(0xFFFD)));
    return 0;
}
