#pragma once
// Pictures of the device list: the built-in unit bitmap (made from
// images/unit.svg) beside a disk gauge, in the index layout of
// core/IconLayout.h. Which index a unit gets is the device list's business;
// this only draws.

#include "mainwindow/core/IconLayout.h"

#include <QImage>
#include <QList>

namespace mainwindow {

// One icon, kUnitIconSize square, premultiplied ARGB with a transparent
// background; where the device pixel ratio is above 1, twice as many pixels
// with a ratio of 2, drawn sharp rather than enlarged. An index outside
// 0..kUnitIconCount-1 gives a null image.
QImage makeUnitIconImage(int index, qreal devicePixelRatio = 1.0);

// All icons in index order.
QList<QImage> makeUnitIconImages(qreal devicePixelRatio = 1.0);

} // namespace mainwindow
