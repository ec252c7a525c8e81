#pragma once
// The message header sendmsg() and recvmsg() take, for the OS layer's Linux
// sockets: one buffer, the peer's address and a control area for the
// ancillary data (the adapter, the time-to-live, an ICMP error).

#include <cstddef>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/uio.h>

namespace platform {

inline msghdr socketMessage(sockaddr_in& peer, iovec& part, void* control, std::size_t controlSize)
{
    msghdr message{};
    message.msg_name = &peer;
    message.msg_namelen = sizeof peer;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = controlSize;
    return message;
}

} // namespace platform
