// Linux: the name is an abstract Unix socket, "MRV-7K2-<uid>". Abstract names
// are seen by every user of the same network namespace, so the holder's user
// is checked before a request is sent to it.

#include "platform/net/SingleInstance.h"

#include <QThread>
#include <sys/socket.h>
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

bool SingleInstance::holderIsSameUser(qintptr socketDescriptor)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) !=
        0)
        return false;
    return peer.uid == ::geteuid();
}

void SingleInstance::releaseName()
{
    // The kernel frees the name when the listening socket closes.
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
        case Notice::Delivered:
            return Outcome::OtherNotified;
        case Notice::ForeignHolder:
            // Another user's process sits on our name: it is not our
            // instance, so this start runs (without a name of its own).
            return Outcome::Primary;
        case Notice::NoAnswer:
            break;
        }
        // The holder may have bound the name but not be listening yet.
        QThread::msleep(kAttemptPauseMs);
    }
    return Outcome::OtherUnreachable;
}

} // namespace platform
