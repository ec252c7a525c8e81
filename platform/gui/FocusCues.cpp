// Carries the keyboard focus frame from the window a dialog was opened from
// to the dialog, at the dialog's Show.

#include "platform/gui/FocusCues.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

namespace platform {
namespace {

class FocusCueCarrier : public QObject
{
public:
    explicit FocusCueCarrier(QWidget* window) : QObject(window), m_window(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // At Show the window it was opened from is still the active one.
        if (watched == m_window && event->type() == QEvent::Show) {
            const QWidget* from = QApplication::activeWindow();
            if (from && from != m_window && from->testAttribute(Qt::WA_KeyboardFocusChange))
                m_window->setAttribute(Qt::WA_KeyboardFocusChange);
        }
        return false;
    }

private:
    QWidget* m_window;
};

} // namespace

void carryFocusCues(QWidget* window)
{
    window->installEventFilter(new FocusCueCarrier(window));
}

} // namespace platform
