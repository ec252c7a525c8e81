#pragma once
// Tells the event loop's owner when a system object of the OS layer is
// ready: on Linux a descriptor with something to read, on Windows a
// signalled event. The OS layer says which its handles are.

#include <QObject>
#include <cstdint>

namespace platform {

class ReadyWatch : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReadyWatch)

public:
    ReadyWatch(std::intptr_t handle, QObject* parent);
    ~ReadyWatch() override;

    // Stops the notices for good; safe inside a ready() handler.
    void stop();

signals:
    // Emitted again on every pass of the event loop while the object stays ready.
    void ready();

private:
    QObject* m_notifier; // a child: the system's notifier for this kind of handle
};

} // namespace platform
