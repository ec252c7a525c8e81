// Builds and shows the owner-less message box, its buttons captioned in
// Japanese and its text shown as plain characters.

#include "platform/gui/MessageBox.h"

#include "platform/gui/FocusCues.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QIcon>

namespace platform {
namespace {

// What the buttons of the system's own box say on Japanese Windows, whatever
// the language Qt or the desktop would pick.
constexpr const char* kOkText = "OK";
constexpr const char* kCancelText = "キャンセル";

} // namespace

QMessageBox::StandardButton messageBox(const QString& title, const QString& text,
                                       QMessageBox::StandardButtons buttons,
                                       const QString& objectName, BoxBlocks blocks)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, buttons);
    // A message may quote what a unit sent: characters, never markup.
    box.setTextFormat(Qt::PlainText);
    if (!objectName.isEmpty())
        box.setObjectName(objectName);
    if (buttons.testFlag(QMessageBox::Ok))
        box.setDefaultButton(QMessageBox::Ok);
    // Plain text buttons, as on the system's own boxes (some styles put
    // pictures on OK and Cancel).
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    if (QAbstractButton* ok = box.button(QMessageBox::Ok))
        ok->setText(QString::fromUtf8(kOkText));
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel))
        cancel->setText(QString::fromUtf8(kCancelText));
    carryFocusCues(&box);
    if (blocks == BoxBlocks::OtherWindows)
        return static_cast<QMessageBox::StandardButton>(box.exec());

    // An owner-less box that leaves the other windows usable: wait for the
    // answer in a local loop instead of a modal one.
    box.setWindowModality(Qt::NonModal);
    QEventLoop loop;
    QObject::connect(&box, &QMessageBox::finished, &loop, &QEventLoop::quit);
    box.show();
    loop.exec();
    return box.standardButton(box.clickedButton());
}

} // namespace platform
