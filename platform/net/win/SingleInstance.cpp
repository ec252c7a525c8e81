// Windows: the running instance is marked by the named mutex of the title and
// session, never released; a named pipe beside it carries a later start's
// request to come forward (see the OS layer's channel).

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
    // The mutex lives in the session's namespace; the pipe is named per session too.
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return title + QLatin1Char('-') + QString::number(session);
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
