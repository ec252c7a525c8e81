// Linux: the name is an abstract Unix socket, "MRV-7K2-<uid>"; binding it is
// the claim (see the OS layer's channel).

#include "platform/net/SingleInstance.h"

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

} // namespace platform
