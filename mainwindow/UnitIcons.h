#pragma once
// The 44 large icons of the device list, in index order (see core/IconLayout.h).

#include "mainwindow/core/IconLayout.h"

#include <QIcon>
#include <QList>

namespace mainwindow {

// All kUnitIconCount icons, kUnitIconSize square.
QList<QIcon> unitIcons();

} // namespace mainwindow
