#pragma once
// The program's message boxes: no owner window, no icon, plain text buttons,
// shown modally. Stands in for the system's owner-less message box.

#include <QMessageBox>
#include <QString>

namespace platform {

// Shows the box and returns the button pressed. objectName lets tests find it.
QMessageBox::StandardButton messageBox(const QString& title, const QString& text,
                                       QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                       const QString& objectName = QString());

} // namespace platform
