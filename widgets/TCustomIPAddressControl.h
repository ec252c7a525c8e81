#pragma once
// An IPv4 address entry control: four stored field values with per-field
// ranges, kept in step with a four-field address widget.
//
// "The window exists" here means the FourFieldAddressWidget child has been
// made. That happens when the control is first shown, when something needs
// the window (a range assignment, ensureAddressWidget()), and never without a
// parent widget. Until then, and again after destroyAddressWidget() or after
// the control lost its parent, only the stored values exist and the control
// counts as blank.
//
// Failures are thrown as widgets::Exception subclasses. Where Qt delivers an
// event (showing, focus, content notices, resizing) nothing is thrown on:
// the failure is shown in an error box instead.

#include "widgets/FieldColours.h"
#include "widgets/FourFieldAddressWidget.h"
#include "widgets/TIPAddressField.h"
#include "widgets/TRangeErrorEvent.h"

#include <QColor>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

namespace widgets {

class TCustomIPAddressControl : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCustomIPAddressControl)
    Q_PROPERTY(int Field0 READ GetFirstIPAddress WRITE SetFirstIPAddress)
    Q_PROPERTY(int Field1 READ GetSecondIPAddress WRITE SetSecondIPAddress)
    Q_PROPERTY(int Field2 READ GetThirdIPAddress WRITE SetThirdIPAddress)
    Q_PROPERTY(int Field3 READ GetFourthIPAddress WRITE SetFourthIPAddress)

public:
    explicit TCustomIPAddressControl(QWidget* parent = nullptr);
    ~TCustomIPAddressControl() override;

    // Stored field values (Field0 ... Field3). A write is tested against the
    // field's range; see RaiseRangeError for what an out-of-range value does.
    int GetFirstIPAddress() const { return field(0).GetDigit(); }
    int GetSecondIPAddress() const { return field(1).GetDigit(); }
    int GetThirdIPAddress() const { return field(2).GetDigit(); }
    int GetFourthIPAddress() const { return field(3).GetDigit(); }
    void SetFirstIPAddress(int value) { writeField(1, value); }
    void SetSecondIPAddress(int value) { writeField(2, value); }
    void SetThirdIPAddress(int value) { writeField(3, value); }
    void SetFourthIPAddress(int value) { writeField(4, value); }

    // Range objects of field index 0 ... 3 (RangeField0, RangeFiled1,
    // RangeField2, RangeFiled3). An assigned object stays its creator's and
    // must outlive the control or be replaced first.
    TIPAddrRange* GetRanges0() const { return field(0).Range(); }
    TIPAddrRange* GetRanges1() const { return field(1).Range(); }
    TIPAddrRange* GetRanges2() const { return field(2).Range(); }
    TIPAddrRange* GetRanges3() const { return field(3).Range(); }
    void SetRanges0(TIPAddrRange* r) { setRanges(0, r); }
    void SetRanges1(TIPAddrRange* r) { setRanges(1, r); }
    void SetRanges2(TIPAddrRange* r) { setRanges(2, r); }
    void SetRanges3(TIPAddrRange* r) { setRanges(3, r); }

    // The address as dotted text. Reading gives "" while blank; writing a
    // text that does not read as an address leaves the control blank and
    // throws nothing.
    QString GetIPAddr();
    void SetIPAddr(const QString& text);

    // Push: the widget shows the stored values (packed, first field most
    // significant). Pull: the stored values become the widget's address.
    void SetIPAddress();
    void UpdateIPAddress();
    // True when the widget's address differs from the stored values.
    bool GetModified() const;

    bool GetIsBlank() const;
    void SetIsBlank(bool blank);

    void Adjust();
    void UpdateHeight();
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);

    // Colour of the four fields (clWindow when never set) and of their text
    // (the font colour; clWindowText when never set). Color and TabStop are
    // required property names but their setters are not (docs/CONVENTIONS.md):
    // the setters are this control's own, camelBack, while SetAutoSize and the
    // Get/Set pairs above are required accessors and keep their style.
    QColor Color() const;
    void setColor(const QColor& colour);
    QColor fontColor() const;
    void setFontColor(const QColor& colour);

    bool TabStop() const { return m_tabStop; }
    void setTabStop(bool value);

    void Change();
    void Enter();
    void Leave();
    void RaiseRangeError(TIPAddrRange* ipRange, int value, int fieldNumber);

    // Handlers; an empty function is "not assigned".
    // NOLINTBEGIN(misc-non-private-member-variables-in-classes): the owning form assigns
    // them directly, as it does the control's event properties
    TNotifyEvent OnChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnResize;
    TRangeErrorEvent OnRangeError;
    // NOLINTEND(misc-non-private-member-variables-in-classes)

    // The window: whether it exists, making it (throws EInvalidOperation
    // without a parent widget), destroying it (stored values stay).
    bool hasAddressWidget() const { return m_widget != nullptr; }
    FourFieldAddressWidget& ensureAddressWidget();
    void destroyAddressWidget();
    FourFieldAddressWidget* addressWidget() const { return m_widget; }

    const TIPAddressField& field(int index) const;

protected:
    // Handlers of the widget's notifications and of size and font changes.
    enum class WidgetCommand
    {
        SetFocus,  // the widget gained the focus
        KillFocus, // it lost the focus
        Change,    // its shown address changed
    };
    void CNNotify(int iField, int iValue);
    void CNCommand(WidgetCommand code);
    void CMFontChanged();
    void WMSize();
    FieldColours WMCTLCOLOREDIT(int field) const;

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TIPAddressField& mutableField(int index);
    void writeField(int number, int value);
    void setRanges(int index, TIPAddrRange* r);
    std::array<std::int32_t, 4> digits() const;
    // Makes the widget as a child of the control and shows the stored values.
    void CreateWnd();
    QList<AddressFieldEdit*> addressFields() const;
    void placeFieldsInTabChain();
    void releaseAddressWidget(bool now);
    void repaintFields();
    // What screen readers hear: the control by its name with the shown
    // address as its description, each field by that name and its position.
    void updateAccessibleTexts();

    std::array<std::unique_ptr<TIPAddressField>, 4> m_fields;
    FourFieldAddressWidget* m_widget = nullptr;
    QColor m_color;
    QColor m_fontColor;
    bool m_autoSize = false;
    bool m_tabStop = true;
};

} // namespace widgets
