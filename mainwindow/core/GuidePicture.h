#pragma once
// The pictures of the setup guide: which one a page shows, and their size.

namespace mainwindow {

enum class GuidePicture
{
    None, // the device list covers them all
    Welcome,
    PowerOn,
    Network
};

inline constexpr int kGuidePictureWidth = 652;
inline constexpr int kGuidePictureHeight = 348;

} // namespace mainwindow
