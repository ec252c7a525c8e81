// Windows: the running instance is marked by the named mutex of the title,
// opened first and created only when it does not exist, never released; a
// local pipe beside it carries a later start's request to come forward.

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

bool SingleInstance::holderIsSameUser(qintptr)
{
    return true; // the pipe only admits its owner (UserAccessOption)
}

void SingleInstance::releaseName()
{
    // The mutex marks the instance until the process ends; the system closes it.
}

SingleInstance::Outcome SingleInstance::claim()
{
    const QByteArray title = m_title.toLocal8Bit();
    if (HANDLE existing = OpenMutexA(SYNCHRONIZE, FALSE, title.constData())) {
        CloseHandle(existing);
        // Let the running instance take the foreground this start has.
        AllowSetForegroundWindow(ASFW_ANY);
        for (int attempt = 0; attempt < kNotifyAttempts; ++attempt) {
            if (notifyHolder() == Notice::Delivered)
                return Outcome::OtherNotified;
            QThread::msleep(kAttemptPauseMs);
        }
        return Outcome::OtherUnreachable;
    }
    m_mutex = CreateMutexA(nullptr, FALSE, title.constData());
    listen(nullptr);
    return Outcome::Primary;
}

} // namespace platform
