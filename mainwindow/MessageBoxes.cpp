#include "mainwindow/MessageBoxes.h"

#include "discovery/core/Messages.h"
#include "mainwindow/core/GuideTexts.h"

#include <QMessageBox>

namespace mainwindow {

void showError(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(discovery::messages::kErrorTitle), text,
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

bool askToClose()
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kCloseTitle),
                    QString::fromUtf8(kCloseQuestion), QMessageBox::Ok | QMessageBox::Cancel);
    box.setObjectName(QStringLiteral("CloseQuestion"));
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

} // namespace mainwindow
