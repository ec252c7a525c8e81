// Splits dotted text at each "." and writes the fields back as text.

#include "widgets/core/DottedText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace widgets {

std::vector<std::string_view> dottedTextParts(std::string_view text)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (parts.size() < 4) {
        const std::size_t dot = text.find('.', start);
        if (dot == std::string_view::npos) {
            // The appended "." closes the last part.
            parts.push_back(text.substr(start));
            break;
        }
        parts.push_back(text.substr(start, dot - start));
        start = dot + 1;
    }
    return parts;
}

std::string formatDotted(const std::array<std::int32_t, 4>& fields)
{
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += '.';
        text += std::to_string(fields[i]);
    }
    return text;
}

} // namespace widgets
