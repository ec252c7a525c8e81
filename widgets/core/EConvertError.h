#pragma once
// A part of a dotted address that is not a number.

#include "widgets/core/Exception.h"

namespace widgets {

class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

} // namespace widgets
