// Shows an error that reached an event handler in the general error box.

#include "widgets/EventBoundary.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace widgets {

void showUnhandledError(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), message,
                    QMessageBox::Ok);
    box.setObjectName(QStringLiteral("unhandledErrorBox"));
    // The message may carry typed or received text: characters, never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace widgets
