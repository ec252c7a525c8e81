#pragma once
// What the free-address search needs of an echo client: one echo to a host
// with a bounded wait, its outcome handed to a handler before it returns.

#include "probe/TOnReplyEvent.h"

#include <QString>
#include <stdexcept>
#include <string>

namespace settings {

// An echo that could not be carried out; what() is the client's message (UTF-8).
// It lives beside the prober: probe() is its only thrower, and the two are one
// contract for every prober.
class ProbeError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class AddressProber
{
public:
    // The client's own event type: the dialog's handler is the client's OnReply.
    using ReplyHandler = probe::TOnReplyEvent;

    virtual ~AddressProber() = default;

    // Sends one echo request to host and waits at most receiveTimeoutMs for an
    // answer; calls onReply exactly once before returning, or throws ProbeError
    // (onReply is then not called).
    virtual void echo(const std::string& host, int receiveTimeoutMs,
                      const ReplyHandler& onReply) = 0;
};

} // namespace settings
