#pragma once
// An operation the control cannot do in its present state, such as making its
// window without a parent.

#include "widgets/core/Exception.h"

namespace widgets {

inline constexpr const char* kNoParentWindowPattern = "Control '%s' has no parent window";

class EInvalidOperation : public Exception
{
public:
    using Exception::Exception;
};

} // namespace widgets
