#pragma once
// The three pictures of the setup guide, 652 x 348 each.

#include <QPixmap>

namespace mainwindow {

enum class GuidePictureId
{
    Welcome,
    PowerOn,
    Network
};

inline constexpr int kGuidePictureWidth = 652;
inline constexpr int kGuidePictureHeight = 348;

// Rendered from the built-in drawing; a plain button-face picture of the same
// size where the drawing is missing, so the layout never changes.
QPixmap guidePicture(GuidePictureId id);

} // namespace mainwindow
