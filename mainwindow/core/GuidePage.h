#pragma once
// The main window's page state: which page a button leads to, and how the
// window is laid out on each page.

#include "mainwindow/core/GuidePicture.h"

#include <optional>

namespace mainwindow {

enum GuidePageValue : int
{
    PageBeforeSearchWindow = 0,
    PageStartupScan = 1,
    PageWelcome = 2,
    PagePowerOn = 3,
    PageNetwork = 4,
    PageDeviceList = 5,
    PageSettings = 6,
};

// Where the Next button leads from a page, and what goes with the move.
struct NextMove
{
    int page;
    bool startsScan;    // 4 -> 5: the list page is reached with a fresh scan
    bool opensSettings; // page 6: the settings dialog, modally
};

NextMove pageAfterNext(int page);
int pageAfterPre(int page);
// The start-up scan that found nothing opens the guide; everything else the list.
int pageAtScanEnd(int page, int deviceCount);

enum class PreButtonRule
{
    Hidden,
    Shown,
    HiddenWhenUnitsFound
};

// One row of the layout table. Pages without a row (0, 1, 6) change nothing
// but the text box, which every page change empties first.
struct PageLayout
{
    int page;
    GuidePicture picture; // the one picture shown; the others are hidden
    bool listGroupVisible;
    int guideText;       // 1..4, see GuideTexts.h
    bool nextIsSettings; // caption "設定" instead of "次へ"
    bool nextEnabled;
    PreButtonRule pre;
    bool rescanVisible; // the share and web buttons are hidden on every row
};

const PageLayout* guidePageLayout(int page);

// Visibility of the back button on a page: nullopt leaves it as it is.
std::optional<bool> preButtonVisible(const PageLayout& layout, int deviceCount);

} // namespace mainwindow
