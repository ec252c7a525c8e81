#pragma once
// The 44 large icons of the device list, in index order (see core/UnitIcon.h).

#include <QIcon>
#include <QList>

namespace mainwindow {

inline constexpr int kUnitIconSize = 75;

// Always 44 icons of 75 x 75; blank ones where the artwork is not built in.
QList<QIcon> unitIcons();

} // namespace mainwindow
