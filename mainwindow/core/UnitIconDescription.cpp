// The words a screen reader says for each unit icon.
#include "mainwindow/core/UnitIconDescription.h"

#include "mainwindow/core/IconLayout.h"

#include <string>

namespace mainwindow {

std::string unitIconDescription(int iconIndex)
{
    if (iconIndex < 0 || iconIndex >= kUnitIconCount)
        return {};
    const bool otherSubnet = iconIndex >= kOtherSubnetBlock;
    const int inBlock = iconIndex % kOtherSubnetBlock;
    // A level stands for five percent of the disk in use; the gauge shows no
    // finer figure, so neither does the text.
    std::string text = inBlock == kNoFreeValueIcon
                           ? std::string("空き容量不明")
                           : "ディスク使用率 約" + std::to_string(inBlock * 5) + "%";
    if (otherSubnet)
        text += std::string("、") + kOtherSubnetText;
    return text;
}

} // namespace mainwindow
