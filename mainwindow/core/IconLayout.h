#pragma once
// The layout of the device list's 44 unit icons, shared by the icon choice and
// the artwork that draws them:
//   0..20   usage level 0 (empty) to 20 (full), unit in the PC's subnet
//   21      no free-space value, unit in the PC's subnet
//   22..43  the same for a unit outside the PC's subnet (dimmed, warning mark)

namespace mainwindow {

inline constexpr int kUnitIconSize = 75;     // pixels, square
inline constexpr int kUsageLevels = 21;      // 0 empty ... 20 full, 5 percent each
inline constexpr int kNoFreeValueIcon = 21;  // within a block
inline constexpr int kOtherSubnetBlock = 22; // offset of the outside-subnet block
inline constexpr int kUnitIconCount = 2 * kOtherSubnetBlock;

// Where the unit drawing stands in the square (left of the gauge): fitted into
// this box with its proportions kept, centred across, on the box's bottom edge.
struct ArtBox
{
    double left, top, width, height;
};
inline constexpr ArtBox kUnitArtBox{1, 2, 45, 71};

} // namespace mainwindow
