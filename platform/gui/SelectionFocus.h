#pragma once
// Keyboard users must see where the focus is. A list's selection looks the
// same whether or not the list has the focus, so it cannot show that: here
// the selection is drawn in the highlight colour only while the list has the
// focus, and in the button shade otherwise, as Windows' list views draw a
// selection they keep without the focus.

class QAbstractItemView;

namespace platform {

void showFocusInSelection(QAbstractItemView* view);

} // namespace platform
