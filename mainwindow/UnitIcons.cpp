#include "mainwindow/UnitIcons.h"

#include "mainwindow/UnitIconArt.h"

#include <QPixmap>

namespace mainwindow {

QList<QIcon> unitIcons()
{
    QList<QIcon> icons;
    icons.reserve(kUnitIconCount);
    for (const QPixmap& art : makeUnitIcons())
        icons.append(QIcon(art));
    return icons;
}

} // namespace mainwindow
