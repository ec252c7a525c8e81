// Windows: an event handle watched with an event notifier.

#include "platform/net/ReadyWatch.h"

#include <QWinEventNotifier>
#include <windows.h>

namespace platform {

ReadyWatch::ReadyWatch(std::intptr_t handle, QObject* parent) : QObject(parent)
{
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the OS layer hands its HANDLE over as a number
    auto* const event = reinterpret_cast<HANDLE>(handle);
    auto* notifier = new QWinEventNotifier(event, this);
    connect(notifier, &QWinEventNotifier::activated, this, &ReadyWatch::ready);
    m_notifier = notifier;
}

ReadyWatch::~ReadyWatch() = default;

void ReadyWatch::stop()
{
    if (auto* notifier = qobject_cast<QWinEventNotifier*>(m_notifier))
        notifier->setEnabled(false);
}

} // namespace platform
