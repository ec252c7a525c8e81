#pragma once
// Qt lets no exception pass through its event handling. Code that Qt calls
// (event handlers, slots) runs its work through runGuarded(): a failure is
// shown in the application's general error box and the event loop goes on.

#include <QString>
#include <exception>
#include <utility>

namespace widgets {

// A modal box without owner: the application's name as title, the message
// as text, one OK button.
void showUnhandledError(const QString& message);

template <typename Work>
void runGuarded(Work&& work)
{
    try {
        std::forward<Work>(work)();
    } catch (const std::exception& e) {
        showUnhandledError(QString::fromUtf8(e.what()));
    } catch (...) {
        showUnhandledError(QStringLiteral("Unknown error"));
    }
}

} // namespace widgets
