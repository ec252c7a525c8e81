// The main window's error box and its question before closing.

#include "mainwindow/MessageBoxes.h"

#include "discovery/core/Messages.h"
#include "mainwindow/core/GuideTexts.h"
#include "platform/gui/MessageBox.h"

namespace mainwindow {

void showError(const QString& text)
{
    platform::messageBox(QString::fromUtf8(discovery::messages::kErrorTitle), text, QMessageBox::Ok,
                         QStringLiteral("ErrorBox"));
}

bool askToClose()
{
    return platform::messageBox(QString::fromUtf8(kCloseTitle), QString::fromUtf8(kCloseQuestion),
                                QMessageBox::Ok | QMessageBox::Cancel,
                                QStringLiteral("CloseQuestion"),
                                platform::BoxBlocks::Nothing) == QMessageBox::Ok;
}

} // namespace mainwindow
