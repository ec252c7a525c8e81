#pragma once
// Splitting a dotted address written by the program, and printing the stored
// field values back.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace widgets {

// The parts before each ".", as if one "." were appended to the text: at most
// four, later ones dropped. "" gives one empty part, "10.1" two parts,
// "1..2" the parts "1", "" and "2", and "1." the parts "1" and "".
std::vector<std::string_view> dottedTextParts(std::string_view text);

// The four values as signed decimal numbers joined by ".".
std::string formatDotted(const std::array<std::int32_t, 4>& fields);

} // namespace widgets
