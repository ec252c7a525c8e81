// An event filter on the widget that sees its first paint, removes itself
// and queues the work, so that the paint reaches the screen before it runs.

#include "app/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>

namespace app {
namespace {

// Watches the widget until its first paint, then queues the work behind it.
class FirstPaintWatch : public QObject
{
public:
    FirstPaintWatch(QWidget* widget, std::function<void()> work)
        : QObject(widget), m_widget(widget), m_work(std::move(work))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == m_widget && e->type() == QEvent::Paint) {
            m_widget->removeEventFilter(this);
            // Queued: the paint and the flush to the screen finish first.
            QTimer::singleShot(0, m_widget, std::move(m_work));
            deleteLater();
        }
        return false;
    }

private:
    QWidget* m_widget;
    std::function<void()> m_work;
};

} // namespace

void afterFirstPaint(QWidget* widget, std::function<void()> work)
{
    new FirstPaintWatch(widget, std::move(work));
}

} // namespace app
