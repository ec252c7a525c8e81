// Reading the disk figures' decimal texts as strtod reads them (leading
// digits, a fraction and an exponent, saturating instead of overflowing),
// and writing the sizes and usage the details panel shows.

#include "mainwindow/core/DiskFigures.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace mainwindow {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Truncation toward zero that cannot overflow: a float beyond the range of
// the result (a text like "1e38") saturates instead of being undefined.
std::int64_t truncateSaturated(float x)
{
    constexpr float kLimit = 9.2e18F; // below 2^63, exactly representable
    if (std::isnan(x))
        return 0;
    if (x >= kLimit)
        return std::numeric_limits<std::int64_t>::max();
    if (x <= -kLimit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}

// Moves i past a run of digits; returns how many there were.
std::size_t skipDigits(std::string_view text, std::size_t& i)
{
    const std::size_t start = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i - start;
}

// The end of an exponent at i ("e", a sign, digits); i itself when no digit
// follows the "e", since such an exponent does not count.
std::size_t exponentEnd(std::string_view text, std::size_t i)
{
    if (i >= text.size() || (text[i] != 'e' && text[i] != 'E'))
        return i;
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-'))
        ++j;
    return skipDigits(text, j) > 0 ? j : i;
}

// The power of ten of a plain number's first significant digit (0 for
// "1.5", 2 for "250", -3 for "0.001e0"), the exponent counted in and kept
// within bounds however many digits it has.
long decimalMagnitude(std::string_view number)
{
    const std::size_t e = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0.");
    long magnitude = 0;
    if (first != std::string_view::npos)
        magnitude = first < point ? static_cast<long>(point - first) - 1
                                  : -static_cast<long>(first - point);
    long exponent = 0;
    if (e != std::string_view::npos) {
        std::size_t i = e + 1;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            ++i;
        constexpr long kBound = 1000000; // far past any double's range
        for (; i < number.size() && isDigit(number[i]) && exponent < kBound; ++i)
            exponent = exponent * 10 + (number[i] - '0');
        if (negative)
            exponent = -exponent;
    }
    return magnitude + exponent;
}

// The unsigned number as strtod reads it.
double numberValue(std::string_view number)
{
    double value = 0.0;
    const char* first = number.data();
    const char* last = number.data() + number.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: strtod gives infinity or 0.
        // Which one the decimal magnitude says, digits and exponent together
        // ("3333…3e-3" with 400 digits is still too large).
        return decimalMagnitude(number) < 0 ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return result.ec == std::errc() ? value : 0.0;
}

} // namespace

float readDiskNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t digits = skipDigits(text, i);
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits += skipDigits(text, i);
    }
    if (digits == 0)
        return 0.0F;
    i = exponentEnd(text, i);

    const double value = numberValue(text.substr(start, i - start));
    return static_cast<float>(negative ? -value : value);
}

DiskSize FormatDiskSize(std::string_view numericText)
{
    const float v = readDiskNumber(numericText);
    DiskSize size;
    double x = 0.0;
    if (v > 1000000.0F) {
        x = static_cast<double>(v) * 1024.0 * 1e-9;
        size.suffix = " GB";
    } else {
        x = static_cast<double>(v) * 1024.0 * 1e-6;
        size.suffix = " MB";
    }
    // The round trip through 32 bits turns 1023.9999999 into 1024.
    size.value = truncateSaturated(static_cast<float>(x));
    return size;
}

std::string diskSizeText(std::string_view numericText)
{
    const DiskSize size = FormatDiskSize(numericText);
    return std::to_string(size.value) + size.suffix;
}

std::string freeRatioText(std::string_view capacityText, std::string_view freeText)
{
    const float c = readDiskNumber(capacityText);
    const float f = readDiskNumber(freeText);
    if (c == 0.0F)
        return "0%";
    // f * 100 is exact in a double, so a whole percentage stays whole and
    // its ceiling does not step up by one.
    const auto r = static_cast<float>(std::ceil(static_cast<double>(f) * 100.0 / c));
    if (r == 0.0F)
        return "0%";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, r);
    return std::string(buffer, result.ptr) + "%";
}

} // namespace mainwindow
