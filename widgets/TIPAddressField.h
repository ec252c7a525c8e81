#pragma once
// One field position of an address control: its stored value (Digit) and
// its allowed range. It has no window; its range goes to the owner's widget.

#include "widgets/core/TIPAddrRange.h"

#include <memory>

namespace widgets {

class TCustomIPAddressControl;

class TIPAddressField
{
public:
    TIPAddressField(TCustomIPAddressControl* owner, int index);

    int index() const { return m_index; }
    TIPAddrRange* Range() const { return m_range; }
    // Adopts r itself (nothing is copied) and sends its limits to the owner's
    // widget, making that widget first if need be; r stays its creator's.
    void SetRange(TIPAddrRange* r);

    int GetDigit() const { return Digit; }
    // Stores without any test.
    void SetDigit(int value) { Digit = value; }

private:
    TCustomIPAddressControl* m_owner;
    std::unique_ptr<TIPAddrRange> m_ownRange;
    TIPAddrRange* m_range;
    int Digit = 0; // the stored value
    const int m_index;
};

} // namespace widgets
