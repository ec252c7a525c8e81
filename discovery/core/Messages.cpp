// The network messages put together, with the names of a port's owner cleaned
// of malformed UTF-8 and of characters that would hide or reorder the text.

#include "discovery/core/Messages.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace discovery::messages {
namespace {

constexpr std::size_t kNameBytes = 64;

// Characters that would hide or reorder the text around them.
bool invisible(std::uint32_t c)
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || (c >= 0x200b && c <= 0x200f) ||
           (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069) || c == 0xfeff;
}

// Length of the well-formed UTF-8 sequence at text[i] and its character; 0
// when the bytes there are not one.
std::size_t decode(std::string_view text, std::size_t i, std::uint32_t& c)
{
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    std::uint32_t least = 0;
    if (b < 0x80) {
        c = b;
        return 1;
    }
    if ((b & 0xe0) == 0xc0) {
        length = 2, c = b & 0x1fU, least = 0x80;
    } else if ((b & 0xf0) == 0xe0) {
        length = 3, c = b & 0x0fU, least = 0x800;
    } else if ((b & 0xf8) == 0xf0) {
        length = 4, c = b & 0x07U, least = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xc0) != 0x80)
            return 0;
        c = (c << 6) | (next & 0x3fU);
    }
    const bool surrogate = c >= 0xd800 && c <= 0xdfff;
    return c < least || c > 0x10ffff || surrogate ? 0 : length;
}

std::string shown(std::string_view name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        std::uint32_t c = 0;
        const std::size_t length = decode(name, i, c);
        const bool keep = length != 0 && !invisible(c);
        const std::size_t adds = keep ? length : 1;
        if (out.size() + adds > kNameBytes)
            break;
        out += keep ? name.substr(i, length) : std::string_view("?");
        i += length != 0 ? length : 1;
    }
    return out;
}

} // namespace

std::string withPortOwner(const char* message, std::string_view user, std::string_view program)
{
    std::string text = message;
    if (!program.empty())
        text += "\n使用中のプログラム: " + shown(program);
    if (!user.empty())
        text += "\n使用中のユーザー: " + shown(user);
    return text;
}

} // namespace discovery::messages
