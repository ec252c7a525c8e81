#pragma once
// The name one running instance holds for its whole life, and the channel a
// later start of the same user reaches it by. Nothing is written to disk.
// Linux: a Unix stream socket in the abstract namespace; binding it is the
// claim, and the kernel frees it with the process, so a crashed holder
// leaves nothing behind. Windows: the named mutex of the name is the claim;
// a named pipe beside it, named by the name and the session (pipe names are
// machine-wide), which only local clients of our user reach, carries the
// requests and the holder's answers.

#include "platform/os/LocalPeer.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// The holder's end: it claims the name and hands out each later start that
// connects as a LocalPeer.
class LocalListener
{
public:
    enum class Claim
    {
        Held,        // the name is ours and later starts can reach us
        Taken,       // a live process holds the name
        Unavailable, // no name can be had here at all (the system refused)
    };

    LocalListener();
    ~LocalListener();
    LocalListener(const LocalListener&) = delete;
    LocalListener& operator=(const LocalListener&) = delete;

    // Takes the name and listens on it. Call once per listener.
    Claim claim(const std::string& name);
    void close();
    bool isListening() const;

    // What the event loop watches: ready when a later start has connected.
    // Linux: the listening descriptor (a read notifier); Windows: an event
    // handle (an event notifier). -1 when not listening.
    std::intptr_t handle() const;
    // The next connected later start of this user, or nullptr when none
    // waits. Connections of other users are closed unread on the way. Never
    // blocks. *outOfHandles (when given) is set when a connection waits but
    // the process has no handle left to take it with: the handle stays ready,
    // so the caller should stop watching it for a while.
    std::unique_ptr<LocalPeer> accept(bool* outOfHandles = nullptr);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

enum class LocalNotice
{
    Delivered,
    NoAnswer,      // nobody listens on the name, or the holder did not take the bytes in time
    ForeignHolder, // the name is held by another user's process: nothing was sent
};

// Later starts a holder serves at the same time; it closes any more at once.
// The Windows pipe makes only as many instances as that needs.
inline constexpr int kLocalPeerLimit = 8;

// Connects to the holder of name, hands it the bytes and waits for its
// answer (LocalPeer::answer): Delivered only once that came. Waits at most
// timeoutMs for each of the connection, the bytes to go and the answer. The holder's
// user is checked first (Linux: the socket's peer; Windows: the pipe server's
// process token); beforeSending gets the id of a holder that passed, so that
// it can be let to take the foreground before it is asked to.
LocalNotice
sendToHolder(const std::string& name, const char* data, std::size_t size, int timeoutMs,
             const std::function<void(std::uint32_t holderProcessId)>& beforeSending = {});

} // namespace platform
