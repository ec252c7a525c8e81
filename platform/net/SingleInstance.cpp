#include "platform/net/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>

namespace platform {

namespace {

constexpr char kRequest[] = "activate\n";
constexpr int kRequestSize = sizeof(kRequest) - 1;
constexpr int kConnectAttempts = 20;
constexpr int kAttemptPauseMs = 100;
constexpr int kIoTimeoutMs = 500;

QString defaultDirectory()
{
    // Per user: the runtime directory is private to its owner (mode 0700).
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

QString joined(const QString& directory, const QString& file)
{
    return QDir(directory).filePath(file);
}

} // namespace

SingleInstance::SingleInstance(const QString& name, const QString& directory, QObject* parent)
    : QObject(parent), m_directory(directory.isEmpty() ? defaultDirectory() : directory),
      m_name(name), m_lock(joined(m_directory, name + QStringLiteral(".lock")))
{
    // Never expire a lock by age: only a dead holder makes it stale.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    m_lock.unlock();
}

QString SingleInstance::lockFilePath() const
{
    return joined(m_directory, m_name + QStringLiteral(".lock"));
}

QString SingleInstance::serverPath() const
{
    return joined(m_directory, m_name + QStringLiteral(".socket"));
}

SingleInstance::Outcome SingleInstance::claim()
{
    QElapsedTimer clock;
    clock.start();
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        // tryLock removes a lock whose holder process is gone.
        if (m_lock.tryLock(0)) {
            // Without a server a later start can still tell we run (the lock)
            // but cannot ask us to come forward; that is no reason to stop.
            listen();
            return Outcome::Primary;
        }
        if (m_lock.error() != QLockFile::LockFailedError)
            return Outcome::Primary; // cannot lock at all: run rather than refuse to start
        if (notifyHolder())
            return Outcome::OtherNotified;
        // The holder may have the lock but not be listening yet.
        QThread::msleep(kAttemptPauseMs);
    }
    return Outcome::OtherUnreachable;
}

bool SingleInstance::listen()
{
    m_server = std::make_unique<QLocalServer>();
    // A crashed holder leaves its socket file behind. No socket options:
    // with them listen() would silently take over a live server.
    QLocalServer::removeServer(serverPath());
    if (!m_server->listen(serverPath())) {
        m_server.reset();
        return false;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

bool SingleInstance::notifyHolder() const
{
    QLocalSocket socket;
    socket.connectToServer(serverPath());
    if (!socket.waitForConnected(kIoTimeoutMs))
        return false;
    socket.write(kRequest, kRequestSize);
    const bool sent = socket.waitForBytesWritten(kIoTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kIoTimeoutMs);
    return sent;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() < kRequestSize)
                return; // the rest of the request is still on its way
            char buffer[kRequestSize] = {};
            const qint64 got = socket->read(buffer, kRequestSize);
            if (got == kRequestSize && std::equal(buffer, buffer + kRequestSize, kRequest))
                emit activationRequested();
            // One request per connection; anything more is not ours to read.
            socket->abort();
        });
    }
}

} // namespace platform
