#pragma once
// The program's message boxes: no owner window, no icon.

#include <QString>

namespace mainwindow {

// "エラー" with one OK button.
void showError(const QString& text);

// The close confirmation, "警告" with OK and Cancel: true for OK.
bool askToClose();

} // namespace mainwindow
