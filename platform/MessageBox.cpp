#include "platform/MessageBox.h"

#include <QAbstractButton>
#include <QIcon>

namespace platform {

QMessageBox::StandardButton messageBox(const QString& title, const QString& text,
                                       QMessageBox::StandardButtons buttons,
                                       const QString& objectName)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, buttons);
    if (!objectName.isEmpty())
        box.setObjectName(objectName);
    if (buttons.testFlag(QMessageBox::Ok))
        box.setDefaultButton(QMessageBox::Ok);
    // Plain text buttons, as on the system's own boxes (some styles put
    // pictures on OK and Cancel).
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace platform
