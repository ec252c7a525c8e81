#pragma once
// One later start of the program as the running instance sees it, once it
// has connected through the local channel (platform/os/LocalChannel.h): its
// bytes to read and the answer that tells it it was heard. Each OS's channel
// implements it.

#include <cstddef>
#include <cstdint>

namespace platform {

// One later start, connected to the holder. Reading never blocks.
class LocalPeer
{
public:
    struct Read
    {
        std::size_t size = 0; // bytes placed in the buffer
        bool ended = false;   // the peer has gone (or the channel failed): nothing more comes
    };

    virtual ~LocalPeer() = default;
    LocalPeer(const LocalPeer&) = delete;
    LocalPeer& operator=(const LocalPeer&) = delete;

    // What the event loop watches: it becomes ready when read() has something
    // to report. Linux: the connection's descriptor (a read notifier);
    // Windows: an event handle (an event notifier).
    virtual std::intptr_t handle() const = 0;
    virtual Read read(char* buffer, std::size_t capacity) = 0;
    // Tells the later start that its request was heard. Never blocks: one
    // byte that does not go at once is not sent.
    virtual void answer() = 0;

protected:
    LocalPeer() = default;
};

} // namespace platform
