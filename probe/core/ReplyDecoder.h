#pragma once
// Turns the one datagram received after a request into the echo's outcome.

#include "probe/core/TReplyStatus.h"

#include <cstddef>
#include <cstdint>

namespace probe {

enum class DecodeError
{
    None,
    NotEnoughBytes, // shorter than its IP header plus 8 bytes of ICMP
    NonEchoType,    // an ICMP type other than 0, 3, 8 and 11
};

struct DecodedReply
{
    DecodeError error = DecodeError::None;
    TReplyStatus status; // meaningful when error is None
};

// data[0, size) is the datagram as a raw socket delivers it: IP header, then
// the ICMP message. size 0 means nothing arrived: the timed-out record, whose
// SequenceNumber is nextSequence. tickNow is the millisecond tick at decoding.
// Nothing outside data[0, size) is read.
DecodedReply decodeReply(const std::uint8_t* data, std::size_t size, std::uint32_t tickNow,
                         std::uint16_t nextSequence);

// The record of an echo that received nothing.
TReplyStatus timedOutStatus(std::uint16_t nextSequence);

} // namespace probe
