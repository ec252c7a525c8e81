#pragma once
// A value written by the program lies outside its field's range.

#include "widgets/core/Exception.h"

namespace widgets {

class ERangeError : public Exception
{
public:
    using Exception::Exception;
};

} // namespace widgets
