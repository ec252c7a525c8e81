#pragma once
// Disk figures as a unit sends them (decimal texts counting 1024-byte units)
// and the way the details panel and the icons read and show them.

#include <cstdint>
#include <string>
#include <string_view>

namespace mainwindow {

// Reads a decimal number the way the C library's strtod does for plain
// numbers: leading white space, an optional sign, digits with an optional
// decimal point and exponent, stopping at the first character that does not
// belong. A text without a number gives 0. The result is rounded to 32 bits,
// the precision every later step starts from.
float readDiskNumber(std::string_view text);

struct DiskSize
{
    std::int64_t value = 0;
    const char* suffix = " MB"; // " GB" or " MB"
};

// More than 1,000,000 units in decimal gigabytes, otherwise in decimal
// megabytes; rounded to 32 bits, then truncated toward zero.
DiskSize FormatDiskSize(std::string_view numericText);

// "80 GB", "1024 MB": the whole number followed directly by its suffix.
std::string diskSizeText(std::string_view numericText);

// The free ratio: ceiling of free / capacity in percent, "0%" when either
// the ratio or the capacity is 0.
std::string freeRatioText(std::string_view capacityText, std::string_view freeText);

} // namespace mainwindow
