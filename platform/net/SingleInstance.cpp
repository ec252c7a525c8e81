#include "platform/net/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <algorithm>

namespace platform {

namespace {

constexpr char kRequest[] = "activate\n";
constexpr int kRequestSize = sizeof(kRequest) - 1;
constexpr int kIoTimeoutMs = 500;

#ifdef _WIN32
constexpr QLocalSocket::SocketOptions kClientOptions = QLocalSocket::NoOptions;
constexpr QLocalServer::SocketOptions kServerOptions = QLocalServer::UserAccessOption;
#else
constexpr QLocalSocket::SocketOptions kClientOptions = QLocalSocket::AbstractNamespaceOption;
constexpr QLocalServer::SocketOptions kServerOptions = QLocalServer::AbstractNamespaceOption;
#endif

} // namespace

SingleInstance::SingleInstance(const QString& title, QObject* parent)
    : QObject(parent), m_title(title), m_serverName(nameFor(title))
{
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    releaseName();
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

// Listens on the name. On Linux this is the claim itself: binding a name
// that a live process holds fails with "address in use".
bool SingleInstance::listen(bool* nameTaken)
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(kServerOptions);
    if (!m_server->listen(m_serverName)) {
        if (nameTaken)
            *nameTaken = m_server->serverError() == QAbstractSocket::AddressInUseError;
        m_server.reset();
        return false;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

SingleInstance::Notice SingleInstance::notifyHolder() const
{
    QLocalSocket socket;
    socket.setSocketOptions(kClientOptions);
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kIoTimeoutMs))
        return Notice::NoAnswer;
    if (!holderIsSameUser(socket.socketDescriptor())) {
        socket.abort();
        return Notice::ForeignHolder;
    }
    socket.write(kRequest, kRequestSize);
    const bool sent = socket.waitForBytesWritten(kIoTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kIoTimeoutMs);
    return sent ? Notice::Delivered : Notice::NoAnswer;
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
