#pragma once
// The program's message boxes: no owner window, no icon, plain text buttons,
// shown modally. Stands in for the system's owner-less message box.

#include <QMessageBox>
#include <QString>

namespace platform {

enum class BoxBlocks
{
    OtherWindows, // like a modal dialog: the program's other windows wait
    Nothing,      // the other windows stay usable and the caller still waits
};

// Shows the box and returns the button pressed. objectName lets tests find it.
QMessageBox::StandardButton messageBox(const QString& title, const QString& text,
                                       QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                       const QString& objectName = QString(),
                                       BoxBlocks blocks = BoxBlocks::OtherWindows);

} // namespace platform
