#pragma once
// The three pictures of the setup guide, drawn at their fixed size.

#include "mainwindow/core/GuidePicture.h"

#include <QPixmap>

namespace mainwindow {

// The built-in bitmap, sharp on a screen of the given device pixel ratio; a
// plain button-face picture of the same size where it is missing (or for
// None), so the layout never changes.
QPixmap guidePicture(GuidePicture id, qreal devicePixelRatio);

} // namespace mainwindow
