#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>

#include "mainwindow/core/IconLayout.h"

// Pictures of the device list: the unit drawing (":/images/unit.svg") beside a
// disk gauge, in the index layout of core/IconLayout.h. Which index a unit
// gets is the device list's business; this only draws.

namespace mainwindow {

// One icon, kUnitIconSize square, ARGB with a transparent background.
// An index outside 0..kUnitIconCount-1 gives a null image.
QImage makeUnitIconImage(int index);

// All icons in index order.
QList<QImage> makeUnitIconImages();
QList<QPixmap> makeUnitIcons();

} // namespace mainwindow
