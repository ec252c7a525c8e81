#pragma once
// Base of the network components: a non-visual object that a window owns
// (through the usual QObject parent) and destroys with itself. In the
// original component family this base started Windows Sockets (WSAStartup)
// for its first instance and cleaned them up (WSACleanup) with its last.

#include <QObject>

namespace probe {

class TNetComponent : public QObject
{
    Q_OBJECT

public:
    // That start-up is not the component's business here: POSIX sockets need
    // none, and on Windows the OS layer starts Windows Sockets once, for the
    // whole program, at the first socket it opens and cleans them up at exit
    // (platform/os/win/SocketLayer). So there is nothing to count.
    explicit TNetComponent(QObject* owner = nullptr) : QObject(owner) {}
};

} // namespace probe
