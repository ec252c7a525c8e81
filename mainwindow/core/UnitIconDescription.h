#pragma once
// What a unit icon shows, in words for screen readers: the disk usage level
// or that the free space is unknown, and whether the unit lies outside this
// PC's subnet. UTF-8, Japanese like the rest of the program.

#include <string>

namespace mainwindow {

// The spoken state of icon index 0..43 (see IconLayout.h), for example
// "ディスク使用率 約50%" or "空き容量不明、このPCのサブネット外". An index
// outside the 44 icons gives "".
std::string unitIconDescription(int iconIndex);

inline constexpr const char* kOtherSubnetText = "このPCのサブネット外";

} // namespace mainwindow
