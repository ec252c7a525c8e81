#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>

// Pictures of the device list: the unit drawing (":/images/unit.svg") beside a
// disk gauge. Index layout of the 44 icons:
//   0..20   usage level 0 (empty) to 20 (full), unit in the PC's subnet
//   21      no free-space value, unit in the PC's subnet
//   22..43  the same for a unit outside the PC's subnet (dimmed, warning mark)
// Which index a unit gets is the device list's business; this only draws.

inline constexpr int UnitIconSize = 75;
inline constexpr int UnitIconCount = 44;
inline constexpr int UnitIconLevels = 21;      // usage levels 0..20
inline constexpr int UnitIconNoFreeSpace = 21; // within a block
inline constexpr int UnitIconBlock = 22;       // offset of the outside-subnet block

// One icon, UnitIconSize square, ARGB with a transparent background.
// An index outside 0..43 gives a null image.
QImage makeUnitIconImage(int index);

// All 44 icons in index order.
QList<QImage> makeUnitIconImages();
QList<QPixmap> makeUnitIcons();
