// The page moves of the guide's buttons and the scan's end, and the table of
// each page's layout.

#include "mainwindow/core/GuidePage.h"

#include "mainwindow/core/GuidePicture.h"

#include <optional>

namespace mainwindow {
namespace {

constexpr PageLayout kLayouts[] = {
    {PageWelcome, GuidePicture::Welcome, false, 1, false, true, PreButtonRule::Hidden, false},
    {PagePowerOn, GuidePicture::PowerOn, false, 2, false, true, PreButtonRule::Shown, false},
    {PageNetwork, GuidePicture::Network, false, 3, false, true, PreButtonRule::Shown, false},
    {PageDeviceList, GuidePicture::None, true, 4, true, false, PreButtonRule::HiddenWhenUnitsFound,
     true},
};

} // namespace

NextMove pageAfterNext(int page)
{
    switch (page) {
    case PageStartupScan:
    case PageWelcome:
    case PagePowerOn:
        return {page + 1, false, false};
    case PageNetwork:
        return {PageDeviceList, true, false};
    case PageDeviceList:
    case PageSettings:
        return {PageSettings, false, true};
    default:
        return {page, false, false};
    }
}

int pageAfterPre(int page)
{
    if (page >= PageWelcome && page <= PageDeviceList)
        return page - 1;
    return page;
}

int pageAtScanEnd(int page, int deviceCount)
{
    if (deviceCount < 1 && page == PageStartupScan)
        return PageWelcome;
    return PageDeviceList;
}

const PageLayout* guidePageLayout(int page)
{
    for (const PageLayout& layout : kLayouts) {
        if (layout.page == page)
            return &layout;
    }
    return nullptr;
}

std::optional<bool> preButtonVisible(const PageLayout& layout, int deviceCount)
{
    switch (layout.pre) {
    case PreButtonRule::Hidden:
        return false;
    case PreButtonRule::Shown:
        return true;
    case PreButtonRule::HiddenWhenUnitsFound:
        if (deviceCount > 0)
            return false;
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace mainwindow
