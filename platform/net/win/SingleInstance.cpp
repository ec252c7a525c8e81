// Windows: the running instance is marked by the named mutex of the title,
// never released; a named pipe beside it, one per session, carries a later
// start's request to come forward (see the OS layer's channel).

#include "platform/net/SingleInstance.h"

#include <windows.h>

namespace platform {

QString SingleInstance::nameFor(const QString& title)
{
    // The mutex is named by the title alone; the OS layer names the pipe
    // beside it per session.
    return title;
}

void SingleInstance::letHolderComeForward(std::uint32_t holderProcessId)
{
    // Only the checked holder, never any process (ASFW_ANY): the right is
    // this start's foreground, which it is about to hand on.
    AllowSetForegroundWindow(static_cast<DWORD>(holderProcessId));
}

std::optional<SingleInstance::Outcome>
// NOLINTNEXTLINE(readability-convert-member-functions-to-static): the Linux half uses the instance
SingleInstance::claimOnSessionBus(const QString& /*launchToken*/, int /*timeoutMs*/)
{
    return std::nullopt; // no session bus: the mutex decides
}

} // namespace platform
