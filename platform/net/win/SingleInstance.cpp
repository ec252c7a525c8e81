// Windows: the running instance is marked by the named mutex of the title,
// never released; a named pipe beside it, one per session, carries a later
// start's request to come forward (see the OS layer's channel).

#include "platform/net/SingleInstance.h"

#include <QThread>
#include <windows.h>

namespace platform {

namespace {

constexpr int kNotifyAttempts = 20;
constexpr int kAttemptPauseMs = 100;

} // namespace

QString SingleInstance::nameFor(const QString& title)
{
    // The mutex is named by the title alone; the OS layer names the pipe
    // beside it per session.
    return title;
}

SingleInstance::Outcome SingleInstance::claim()
{
    bool taken = false;
    if (listen(&taken) || !taken)
        return Outcome::Primary; // ours, or no name can be had here: run
    // Let the running instance take the foreground this start has.
    AllowSetForegroundWindow(ASFW_ANY);
    for (int attempt = 0; attempt < kNotifyAttempts; ++attempt) {
        if (notifyHolder() == LocalNotice::Delivered)
            return Outcome::OtherNotified;
        QThread::msleep(kAttemptPauseMs);
    }
    return Outcome::OtherUnreachable;
}

} // namespace platform
