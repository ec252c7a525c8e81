#pragma once
// Everything a form needs to place address controls.

#include "widgets/TIPAddressControl.h"
#include "widgets/core/EInvalidOperation.h"
#include "widgets/core/ERangeError.h"
#include "widgets/core/TIPAddrRange.h"
