#pragma once
// The 44 large icons of the device list (index layout: core/IconLayout.h).

#include "mainwindow/core/IconLayout.h"

#include <QIcon>
#include <array>

namespace mainwindow {

// Each icon is made the first time a unit needs it, at the device pixel ratio
// of the screen it is shown on, and kept as one pixmap.
class UnitIcons
{
public:
    // kUnitIconSize square; a null icon for an index outside the layout.
    QIcon icon(int index, qreal devicePixelRatio);

private:
    std::array<QIcon, kUnitIconCount> m_icons;
    qreal m_devicePixelRatio = 0; // of the icons made so far
};

} // namespace mainwindow
