// Linux: the name is an abstract Unix socket, "MRV-7K2-<uid>"; binding it is
// the claim (see the OS layer's channel).

#include "platform/net/SingleInstance.h"

#include <QThread>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kClaimAttempts = 20;
constexpr int kAttemptPauseMs = 100;

} // namespace

QString SingleInstance::nameFor(const QString& title)
{
    return title + QLatin1Char('-') + QString::number(::geteuid());
}

SingleInstance::Outcome SingleInstance::claim()
{
    for (int attempt = 0; attempt < kClaimAttempts; ++attempt) {
        bool taken = false;
        if (listen(&taken))
            return Outcome::Primary;
        // Anything but a taken name means no claim is possible here at all:
        // run rather than refuse to start.
        if (!taken)
            return Outcome::Primary;
        switch (notifyHolder()) {
        case LocalNotice::Delivered:
            return Outcome::OtherNotified;
        case LocalNotice::ForeignHolder:
            // Another user's process sits on our name: it is not our
            // instance, so this start runs (without a name of its own).
            return Outcome::Primary;
        case LocalNotice::NoAnswer:
            break;
        }
        // The holder may have bound the name but not be listening yet.
        QThread::msleep(kAttemptPauseMs);
    }
    return Outcome::OtherUnreachable;
}

} // namespace platform
