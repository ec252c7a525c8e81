#pragma once
// No socket could be opened: neither the raw one nor the unprivileged one.

#include "probe/core/NetComponentError.h"

namespace probe {

class EInvalidSocket : public NetComponentError
{
public:
    EInvalidSocket() : NetComponentError("Cannot allocate socket.") {}
};

} // namespace probe
