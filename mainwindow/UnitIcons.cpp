// Makes each icon when first asked for and keeps it; a screen of another
// pixel ratio starts the set afresh.

#include "mainwindow/UnitIcons.h"

#include "mainwindow/UnitIconArt.h"
#include "mainwindow/core/IconLayout.h"

#include <QPixmap>
#include <cstddef>

namespace mainwindow {

QIcon UnitIcons::icon(int index, qreal devicePixelRatio)
{
    if (index < 0 || index >= kUnitIconCount)
        return {};
    if (devicePixelRatio != m_devicePixelRatio) { // another screen: start afresh
        m_icons = {};
        m_devicePixelRatio = devicePixelRatio;
    }
    QIcon& icon = m_icons[std::size_t(index)];
    if (icon.isNull())
        icon = QIcon(
            QPixmap::fromImage(makeUnitIconImage(index, devicePixelRatio), Qt::NoFormatConversion));
    return icon;
}

} // namespace mainwindow
