// Linux: the name is a well-known name on the session bus where there is one,
// and an abstract Unix socket, "MRV-7K2-<uid>", where not; binding it is the
// claim (see the OS layer's channel).

#include "platform/net/SingleInstance.h"

#include "platform/net/linux/SessionBusName.h"

#include <cstdint>
#include <optional>
#include <unistd.h>

namespace platform {

QString SingleInstance::nameFor(const QString& title)
{
    return title + QLatin1Char('-') + QString::number(::geteuid());
}

void SingleInstance::letHolderComeForward(std::uint32_t /*holderProcessId*/)
{
    // X11 and Wayland give the holder's window activation without our leave.
}

std::optional<SingleInstance::Outcome> SingleInstance::claimOnSessionBus(const QString& launchToken,
                                                                         int timeoutMs)
{
    if (m_busName.isEmpty())
        return std::nullopt;
    auto* name = new SessionBusName(m_busName, this);
    switch (name->claim(launchToken, timeoutMs)) {
    case SessionBusName::Claim::Owned:
        connect(name, &SessionBusName::activationRequested, this,
                &SingleInstance::activationRequested);
        return Outcome::Primary;
    case SessionBusName::Claim::OtherNotified:
        delete name;
        return Outcome::OtherNotified;
    case SessionBusName::Claim::OwnerSilent:
        // A hung owner does not keep this start from running.
        delete name;
        return Outcome::Primary;
    case SessionBusName::Claim::NoBus:
        break;
    }
    delete name;
    return std::nullopt;
}

} // namespace platform
