#include "mainwindow/UnitIcons.h"

#include "mainwindow/core/UnitIcon.h"

#include <QImage>
#include <QPixmap>

#ifdef MRV_HAVE_UNIT_ICON_ART
#include "mainwindow/UnitIconArt.h"
#endif

namespace mainwindow {
namespace {

[[maybe_unused]] QIcon toIcon(const QPixmap& art)
{
    return QIcon(art);
}

[[maybe_unused]] QIcon toIcon(const QImage& art)
{
    return QIcon(QPixmap::fromImage(art));
}

} // namespace

QList<QIcon> unitIcons()
{
    QList<QIcon> icons;
#ifdef MRV_HAVE_UNIT_ICON_ART
    for (const auto& art : makeUnitIcons()) {
        if (icons.size() == kUnitIconCount)
            break;
        icons.append(toIcon(art));
    }
#endif
    QPixmap blank(kUnitIconSize, kUnitIconSize);
    blank.fill(Qt::transparent);
    while (icons.size() < kUnitIconCount)
        icons.append(QIcon(blank));
    return icons;
}

} // namespace mainwindow
