// An application-wide event filter that drops the repeats of a held Return
// or Enter before any button sees them.

#include "platform/gui/HeldKeys.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QPointer>

namespace platform {
namespace {

// A held Space already presses a button once (Qt acts on its release); in
// a text field its repeats are typing.
bool pressesButtons(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

class HeldKeyGuard : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
            return QObject::eventFilter(watched, event);
        const auto* key = dynamic_cast<const QKeyEvent*>(event);
        if (key == nullptr || !pressesButtons(key->key()))
            return false;
        if (type == QEvent::KeyRelease) {
            m_lastReleaseKey = key->key();
            m_lastReleaseTime = key->timestamp();
            return false;
        }
        // Qt marks a repeat when the window system sent the release and the
        // next press together; a release and press with the same server time
        // are a repeat too, should they have come apart (time 0 is an event
        // another program sent, which has no time of its own).
        const bool sameMoment = key->key() == m_lastReleaseKey && key->timestamp() != 0 &&
                                key->timestamp() == m_lastReleaseTime;
        if (key->isAutoRepeat() || sameMoment) {
            event->accept();
            return true;
        }
        return false;
    }

private:
    int m_lastReleaseKey = 0;
    quint64 m_lastReleaseTime = 0;
};

} // namespace

void ignoreHeldKeyRepeats()
{
    static QPointer<HeldKeyGuard> guard;
    if (guard || !qApp)
        return;
    guard = new HeldKeyGuard(qApp);
    qApp->installEventFilter(guard);
}

} // namespace platform
