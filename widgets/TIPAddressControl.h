#pragma once
// The address control as forms use it: the same behaviour, with its
// properties under their published names. Forms compiled by uic set
// properties through the lower-case setters (setIPAddress, setAutoSize ...).

#include "widgets/TCustomIPAddressControl.h"

namespace widgets {

class TIPAddressControl : public TCustomIPAddressControl
{
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QString IPAddress READ IPAddress WRITE setIPAddress)
    Q_PROPERTY(bool Modified READ Modified)

public:
    using TCustomIPAddressControl::TCustomIPAddressControl;

    int Field0() const { return GetFirstIPAddress(); }
    int Field1() const { return GetSecondIPAddress(); }
    int Field2() const { return GetThirdIPAddress(); }
    int Field3() const { return GetFourthIPAddress(); }
    void setField0(int value) { SetFirstIPAddress(value); }
    void setField1(int value) { SetSecondIPAddress(value); }
    void setField2(int value) { SetThirdIPAddress(value); }
    void setField3(int value) { SetFourthIPAddress(value); }

    // The second and fourth keep the names stored forms have always used.
    TIPAddrRange* RangeField0() const { return GetRanges0(); }
    TIPAddrRange* RangeFiled1() const { return GetRanges1(); }
    TIPAddrRange* RangeField2() const { return GetRanges2(); }
    TIPAddrRange* RangeFiled3() const { return GetRanges3(); }
    void setRangeField0(TIPAddrRange* r) { SetRanges0(r); }
    void setRangeFiled1(TIPAddrRange* r) { SetRanges1(r); }
    void setRangeField2(TIPAddrRange* r) { SetRanges2(r); }
    void setRangeFiled3(TIPAddrRange* r) { SetRanges3(r); }

    QString IPAddress() { return GetIPAddr(); }
    void setIPAddress(const QString& text) { SetIPAddr(text); }
    bool Modified() const { return GetModified(); }
    void setAutoSize(bool value) { SetAutoSize(value); }
};

} // namespace widgets
