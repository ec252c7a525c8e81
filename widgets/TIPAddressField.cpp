// A field's range, handed to the owner's widget when set.

#include "widgets/TIPAddressField.h"

#include "widgets/FourFieldAddressWidget.h"
#include "widgets/TCustomIPAddressControl.h"
#include "widgets/core/PackedAddress.h"
#include "widgets/core/TIPAddrRange.h"

#include <memory>

namespace widgets {

TIPAddressField::TIPAddressField(TCustomIPAddressControl* owner, int index)
    : m_owner(owner), m_ownRange(std::make_unique<TIPAddrRange>()), m_range(m_ownRange.get()),
      m_index(index)
{
}

void TIPAddressField::SetRange(TIPAddrRange* r)
{
    if (r == m_range || r == nullptr)
        return;
    // The limits travel only now; later changes on r act on the control's
    // own tests but not on what the widget lets a person type.
    FourFieldAddressWidget& widget = m_owner->ensureAddressWidget();
    m_range = r;
    widget.setRange(m_index, rangeWord(r->LowerLimit(), r->UpperLimit()));
}

} // namespace widgets
