// Windows: Winsock started once, on first use, and cleaned up at exit.

#include "platform/os/win/SocketLayer.h"

#include <winsock2.h>

namespace platform {

namespace {

// Started on first use and cleaned up at exit.
class SocketLayer
{
public:
    static bool start()
    {
        static const SocketLayer layer;
        return layer.m_started;
    }

    SocketLayer(const SocketLayer&) = delete;
    SocketLayer& operator=(const SocketLayer&) = delete;

private:
    SocketLayer()
    {
        WSADATA data{};
        m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~SocketLayer()
    {
        if (m_started)
            WSACleanup();
    }

    bool m_started = false;
};

} // namespace

bool startSocketLayer()
{
    return SocketLayer::start();
}

} // namespace platform
