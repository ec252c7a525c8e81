#pragma once
// The few operations the dialog uses on its three address controls, in one
// place: dotted text in and out, single octets, and the enter notice.

#include "widgets/TIPAddressControl.h"

#include <QString>
#include <functional>

namespace settings {

using AddressControl = widgets::TIPAddressControl;

inline void setDottedText(AddressControl* control, const char* text)
{
    control->SetIPAddr(QString::fromLatin1(text));
}

// The control's dotted text; empty when it shows none.
inline QString dottedText(AddressControl* control)
{
    return control->GetIPAddr();
}

// Octet 0 (first, most significant) to 3 of the stored address.
inline int octet(const AddressControl* control, int index)
{
    switch (index) {
    case 0:
        return control->GetFirstIPAddress();
    case 1:
        return control->GetSecondIPAddress();
    case 2:
        return control->GetThirdIPAddress();
    default:
        return control->GetFourthIPAddress();
    }
}

inline void setOctet(AddressControl* control, int index, int value)
{
    switch (index) {
    case 0:
        control->SetFirstIPAddress(value);
        break;
    case 1:
        control->SetSecondIPAddress(value);
        break;
    case 2:
        control->SetThirdIPAddress(value);
        break;
    default:
        control->SetFourthIPAddress(value);
        break;
    }
}

inline void onControlEnter(AddressControl* control, std::function<void()> handler)
{
    control->OnEnter = [handler = std::move(handler)](QObject*) { handler(); };
}

} // namespace settings
