// Any text as a dotted address given to the control: its parts are the text
// cut at its first three points, and any four field values written as a
// dotted address split back into exactly those values.

#include "tests/testsupport/FuzzDriver.h"
#include "widgets/core/DottedText.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto parts = widgets::dottedTextParts(text);
    fuzz::require(!parts.empty() && parts.size() <= 4);
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        fuzz::require(parts[i].find('.') == std::string_view::npos);
        joined += (i ? "." : "") + std::string(parts[i]);
    }
    // Fewer than four parts cover the whole text; four cover it up to a point.
    if (parts.size() < 4)
        fuzz::require(joined == text);
    else
        fuzz::require(text.compare(0, joined.size(), joined) == 0 &&
                      (text.size() == joined.size() || text[joined.size()] == '.'));

    if (size >= 16) {
        std::array<std::int32_t, 4> fields{};
        std::memcpy(fields.data(), data, 16);
        const std::string dotted = widgets::formatDotted(fields);
        const auto back = widgets::dottedTextParts(dotted);
        fuzz::require(back.size() == 4);
        for (std::size_t i = 0; i < 4; ++i) {
            std::int32_t value = 0;
            const auto [end, error] =
                std::from_chars(back[i].data(), back[i].data() + back[i].size(), value);
            fuzz::require(error == std::errc() && end == back[i].data() + back[i].size() &&
                          value == fields[i]);
        }
    }
    return 0;
}
