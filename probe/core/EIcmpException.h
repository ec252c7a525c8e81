#pragma once
// The message received is not one the client accepts as an answer.

#include "probe/core/NetComponentError.h"
#include "probe/core/ReplyDecoder.h"

#include <string>

namespace probe {

class EIcmpException : public NetComponentError
{
public:
    explicit EIcmpException(const std::string& message) : NetComponentError(message) {}

    // The error for a failed decode (error must not be DecodeError::None).
    static EIcmpException from(DecodeError error)
    {
        return EIcmpException(error == DecodeError::NotEnoughBytes
                                  ? "Not enough bytes received"
                                  : "Non-echo type response received");
    }
};

} // namespace probe
