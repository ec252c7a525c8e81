#pragma once
// The program's forms ask for the Windows Japanese faces by their Japanese
// names. Where those are missing, map them to the same faces under their
// English names (an English Windows knows only those), then to the
// metric-compatible IPA faces, so that Japanese text neither falls to boxes
// nor to a face of other widths.

#include <QString>

namespace platform {

// NOLINTBEGIN(cert-err58-cpp): QStringLiteral is built at compile time, nothing can throw
inline const QString kProportionalGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kFixedGothic = QStringLiteral("ＭＳ ゴシック");
// NOLINTEND(cert-err58-cpp)

// Call once after the application object exists and before any window is made.
void installFontSubstitutions();

} // namespace platform
