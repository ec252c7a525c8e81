#pragma once
// Text that came from outside (a unit, the network) shown as characters only.
// Labels and message boxes take Qt::PlainText; a tooltip has no such switch:
// Qt guesses, and takes anything that looks like markup as rich text (whose
// <img src=...> reads any file or share it names).

#include <QString>

namespace platform {

// A tooltip that shows text literally, whatever it contains: the text escaped
// inside a paragraph that keeps its spaces. An empty text stays empty, so
// that no tooltip is shown at all.
QString plainToolTip(const QString& text);

} // namespace platform
