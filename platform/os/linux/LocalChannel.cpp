// Linux: the name is a Unix stream socket in the abstract namespace. Abstract
// names are seen by every user of the same network namespace, so the
// holder's user is checked before anything is sent to it.

#include "platform/os/LocalChannel.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/types.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kBacklog = 8;

struct AbstractAddress
{
    sockaddr_un address{};
    socklen_t size = 0;
};

// The name after a leading zero byte, with the length of exactly what is
// used: an abstract name is every byte the length covers.
std::optional<AbstractAddress> abstractAddress(const std::string& name)
{
    AbstractAddress a;
    a.address.sun_family = AF_UNIX;
    if (name.empty() || name.size() + 1 > sizeof a.address.sun_path)
        return std::nullopt;
    std::memcpy(a.address.sun_path + 1, name.data(), name.size());
    a.size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return a;
}

// Who is at the other end of a connected socket, as the kernel saw it at
// connect (or listen) time: not something the peer can claim.
std::optional<ucred> peerOf(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof peer)
        return std::nullopt;
    return peer;
}

bool peerIsSameUser(int fd)
{
    const auto peer = peerOf(fd);
    return peer && peer->uid == ::geteuid();
}

// Every byte, each send waiting at most the socket's send time limit.
bool sendAll(int fd, const char* data, std::size_t size)
{
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t n = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// The holder's one-byte answer, waiting at most the socket's receive time
// limit: a holder that took the bytes but is stuck does not answer.
bool answered(int fd)
{
    char heard = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t n = ::recv(fd, &heard, 1, 0);
        if (n < 0 && errno == EINTR)
            continue;
        return n == 1 && heard == '\n';
    }
    return false;
}

// Connections of other users refused in one accept() call before it returns
// to the event loop, so a flood of them cannot hold the loop.
constexpr int kRefusalsPerCall = 64;

class SocketPeer final : public LocalPeer
{
public:
    explicit SocketPeer(int fd) : m_fd(fd) {}
    ~SocketPeer() override { ::close(m_fd); }
    SocketPeer(const SocketPeer&) = delete;
    SocketPeer& operator=(const SocketPeer&) = delete;

    std::intptr_t handle() const override { return m_fd; }

    Read read(char* buffer, std::size_t capacity) override
    {
        Read result;
        const ssize_t got = ::recv(m_fd, buffer, capacity, MSG_DONTWAIT);
        if (got > 0)
            result.size = static_cast<std::size_t>(got);
        else if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            result.ended = true;
        return result;
    }

    void answer() override
    {
        const char heard = '\n';
        (void)::send(m_fd, &heard, 1, MSG_DONTWAIT | MSG_NOSIGNAL);
    }

private:
    int m_fd;
};

} // namespace

struct LocalListener::State
{
    int fd = -1;
};

LocalListener::LocalListener() : m_state(std::make_unique<State>()) {}

LocalListener::~LocalListener()
{
    close();
}

LocalListener::Claim LocalListener::claim(const std::string& name)
{
    close();
    const auto address = abstractAddress(name);
    if (!address)
        return Claim::Unavailable;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Claim::Unavailable;
    // Binding a name a live process holds fails with "address in use": that is the claim.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address->address), address->size) != 0) {
        const bool taken = errno == EADDRINUSE;
        ::close(fd);
        return taken ? Claim::Taken : Claim::Unavailable;
    }
    if (::listen(fd, kBacklog) != 0) {
        ::close(fd);
        return Claim::Unavailable;
    }
    m_state->fd = fd;
    return Claim::Held;
}

void LocalListener::close()
{
    // The kernel frees the name when the listening socket closes.
    if (m_state->fd >= 0)
        ::close(m_state->fd);
    m_state->fd = -1;
}

bool LocalListener::isListening() const
{
    return m_state->fd >= 0;
}

std::intptr_t LocalListener::handle() const
{
    return m_state->fd;
}

std::unique_ptr<LocalPeer> LocalListener::accept(bool* outOfHandles)
{
    if (outOfHandles)
        *outOfHandles = false;
    if (m_state->fd < 0)
        return nullptr;
    for (int refused = 0; refused < kRefusalsPerCall; ++refused) {
        const int fd = ::accept4(m_state->fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (outOfHandles)
                *outOfHandles =
                    errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM;
            return nullptr;
        }
        // The abstract name is reachable by every user of the network
        // namespace; only our own user's starts are heard.
        if (peerIsSameUser(fd))
            return std::make_unique<SocketPeer>(fd);
        ::close(fd);
    }
    return nullptr;
}

LocalNotice sendToHolder(const std::string& name, const char* data, std::size_t size, int timeoutMs,
                         const std::function<void(std::uint32_t)>& beforeSending)
{
    const auto address = abstractAddress(name);
    if (!address)
        return LocalNotice::NoAnswer;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return LocalNotice::NoAnswer;
    // A blocking socket with a send time limit: connect waits that long for
    // room in a full backlog, and each send for room in the holder's buffer.
    const int limitMs = timeoutMs < 1 ? 1 : timeoutMs;
    timeval limit{};
    limit.tv_sec = limitMs / 1000;
    limit.tv_usec = static_cast<suseconds_t>((limitMs % 1000) * 1000);
    LocalNotice notice = LocalNotice::NoAnswer;
    if (::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) == 0 &&
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) == 0 &&
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address->address), address->size) == 0) {
        const auto holder = peerOf(fd);
        if (!holder || holder->uid != ::geteuid()) {
            notice = LocalNotice::ForeignHolder;
        } else {
            if (beforeSending)
                beforeSending(static_cast<std::uint32_t>(holder->pid));
            if (sendAll(fd, data, size) && answered(fd))
                notice = LocalNotice::Delivered;
        }
    }
    ::close(fd);
    return notice;
}

} // namespace platform
