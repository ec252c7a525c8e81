#include "mainwindow/MessageBoxes.h"

#include "discovery/core/Messages.h"
#include "mainwindow/core/GuideTexts.h"

#include <QAbstractButton>
#include <QIcon>
#include <QMessageBox>

namespace mainwindow {
namespace {

// Plain text buttons, as on the system's own message boxes (some styles
// would put pictures on OK and Cancel).
int run(QMessageBox& box)
{
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    return box.exec();
}

} // namespace

void showError(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(discovery::messages::kErrorTitle), text,
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ErrorBox"));
    run(box);
}

bool askToClose()
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kCloseTitle),
                    QString::fromUtf8(kCloseQuestion), QMessageBox::Ok | QMessageBox::Cancel);
    box.setObjectName(QStringLiteral("CloseQuestion"));
    box.setDefaultButton(QMessageBox::Ok);
    return run(box) == QMessageBox::Ok;
}

} // namespace mainwindow
