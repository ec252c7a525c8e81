// Any bytes as the disk figures a unit sends (capacity, a newline, free
// space): a plain number reads as the C library's strtod reads it, the size
// text is the whole number and its suffix, and the free ratio is a
// percentage, at most 100 when the free space is no more than a finite
// capacity.

#include "mainwindow/core/DiskFigures.h"
#include "tests/testsupport/FuzzDriver.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Only these characters make a number both readers read alike: strtod also
// takes hexadecimal, "inf" and "nan", which a unit's figure never is.
bool plainNumberText(std::string_view text)
{
    return text.find_first_not_of(" \t\n\v\f\r+-.0123456789eE") == std::string_view::npos;
}

void checkNumber(const std::string& text)
{
    const float ours = mainwindow::readDiskNumber(text);
    if (plainNumberText(text) && text.find('\0') == std::string::npos)
        fuzz::require(ours == static_cast<float>(std::strtod(text.c_str(), nullptr)));

    const mainwindow::DiskSize size = mainwindow::FormatDiskSize(text);
    const std::string suffix = size.suffix;
    fuzz::require(suffix == " GB" || suffix == " MB");
    fuzz::require(ours < 0.0F || size.value >= 0);
    fuzz::require(mainwindow::diskSizeText(text) == std::to_string(size.value) + suffix);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\n');
    const std::string capacity(input.substr(0, cut));
    const std::string free(cut == std::string_view::npos ? std::string_view()
                                                         : input.substr(cut + 1));
    checkNumber(capacity);
    checkNumber(free);

    const std::string ratio = mainwindow::freeRatioText(capacity, free);
    fuzz::require(!ratio.empty() && ratio.size() <= 64 && ratio.back() == '%');
    const float c = mainwindow::readDiskNumber(capacity);
    const float f = mainwindow::readDiskNumber(free);
    if (std::isfinite(c) && c > 0.0F && f >= 0.0F && f <= c) {
        int percent = -1;
        std::from_chars(ratio.data(), ratio.data() + ratio.size(), percent);
        fuzz::require(percent >= 0 && percent <= 100 && ratio == std::to_string(percent) + "%");
    }
    return 0;
}
