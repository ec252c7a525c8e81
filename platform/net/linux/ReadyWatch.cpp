// Linux: a descriptor watched with a read notifier.

#include "platform/net/ReadyWatch.h"

#include <QSocketNotifier>
#include <cstdint>

namespace platform {

ReadyWatch::ReadyWatch(std::intptr_t handle, QObject* parent) : QObject(parent)
{
    auto* notifier = new QSocketNotifier(static_cast<qintptr>(handle), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &ReadyWatch::ready);
    m_notifier = notifier;
}

ReadyWatch::~ReadyWatch() = default;

void ReadyWatch::stop()
{
    if (auto* notifier = qobject_cast<QSocketNotifier*>(m_notifier))
        notifier->setEnabled(false);
}

} // namespace platform
