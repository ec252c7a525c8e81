#pragma once
// Base of the network components: a non-visual object that a window owns
// (through the usual QObject parent) and destroys with itself.

#include <QObject>

namespace probe {

class TNetComponent : public QObject
{
    Q_OBJECT

public:
    // POSIX sockets need no start-up or clean-up call for the whole program,
    // so there is nothing to count here.
    explicit TNetComponent(QObject* owner = nullptr) : QObject(owner) {}
};

} // namespace probe
