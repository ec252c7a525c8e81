#pragma once
// The two scan progress bars (the search window's and the main window's)
// fill by time alone, in the same steps: +2 every 50 ms, full at 100, so
// 2500 ms after they start and half a second before the scan ends.

namespace mainwindow {

inline constexpr int kScanBarStepMilliseconds = 50;
inline constexpr int kScanBarStep = 2;
inline constexpr int kScanBarFull = 100;

} // namespace mainwindow
