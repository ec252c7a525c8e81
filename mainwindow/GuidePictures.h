#pragma once
// The three pictures of the setup guide, drawn at their fixed size.

#include "mainwindow/core/GuidePicture.h"

#include <QPixmap>

namespace mainwindow {

// Rendered from the built-in drawing; a plain button-face picture of the same
// size where the drawing is missing (or for None), so the layout never changes.
QPixmap guidePicture(GuidePicture id);

} // namespace mainwindow
