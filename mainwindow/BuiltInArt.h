#pragma once
// Pictures built into the program (made from the drawings at build time).

#include <QImage>

namespace mainwindow {

// ":/images/<name>.png", or "<name>@2x.png" with a device pixel ratio of 2
// where the screen's ratio is above 1, converted in place to the format the
// screen draws fastest (QImage::Format_RGB32 for opaque pictures,
// QImage::Format_ARGB32_Premultiplied for transparent ones). Null if missing.
QImage builtInArt(const char* name, qreal devicePixelRatio, QImage::Format format);

} // namespace mainwindow
