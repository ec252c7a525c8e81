#include "widgets/EventBoundary.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace widgets {

void showUnhandledError(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), message,
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("unhandledErrorBox"));
    box.exec();
}

} // namespace widgets
