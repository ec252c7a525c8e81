// Any bytes as a dotted address written by the program: split into parts,
// each part read as a number. What reads must print back to the same number,
// and a part only reads if it has the shape of a number.

#include "tests/testsupport/FuzzDriver.h"
#include "widgets/core/DottedText.h"
#include "widgets/core/FieldInteger.h"
#include "widgets/core/PackedAddress.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void checkPart(std::string_view part)
{
    const auto value = widgets::parseFieldInteger(part);
    if (!value)
        return;
    // A number never ends in a blank and never holds anything but digits
    // after its prefix or sign.
    if (part.empty() || part.back() == ' ' || !isHexDigit(part.back()))
        std::abort();
    const std::string decimal = std::to_string(*value);
    if (widgets::parseFieldInteger(decimal) != value)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto parts = widgets::dottedTextParts(text);
    if (parts.empty() || parts.size() > 4)
        std::abort();
    std::array<std::int32_t, 4> fields{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        // Each part lies inside the text it came from.
        if (parts[i].data() < text.data() || parts[i].data() + parts[i].size() > text.data() + size)
            std::abort();
        checkPart(parts[i]);
        fields[i] = widgets::parseFieldInteger(parts[i]).value_or(0);
    }
    // Packing any values is defined (no overflow trap under UBSan).
    const std::uint32_t packed = widgets::packAddress(fields);
    if (widgets::addressByte(packed, 3) != static_cast<std::uint8_t>(fields[3] & 0xFF))
        std::abort();
    return 0;
}
