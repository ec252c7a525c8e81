#pragma once
// The send was refused because the message is too long.

#include "probe/core/NetComponentError.h"

namespace probe {

class EPackageSizeTooBig : public NetComponentError
{
public:
    EPackageSizeTooBig() : NetComponentError("Package Size Too Big.") {}
};

} // namespace probe
