// A pause that keeps timers, sockets and painting going (user input waits).

#include "platform/net/Pause.h"

#include <QEventLoop>
#include <QTimer>

namespace platform {

void pauseResponsive(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(milliseconds);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace platform
