#pragma once
// The send took fewer bytes than the request has.

#include "probe/core/NetComponentError.h"

namespace probe {

class ENotAllBytesSent : public NetComponentError
{
public:
    ENotAllBytesSent() : NetComponentError("Not all bytes sent.") {}
};

} // namespace probe
