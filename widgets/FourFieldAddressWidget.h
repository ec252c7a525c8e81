#pragma once
// The four-field IPv4 entry widget that the address control wraps. Towards
// its owner it offers only these operations and notifications: show an
// address, read it, empty all fields, ask whether all are empty, set one
// field's limits; field changed (index, value), focus gained and lost by the
// widget as a whole, content changed, and the colours of a field asked of
// the owner. Everything else is how a person expects an address entry to
// behave: digits only, "." or a full field moves on, Backspace at a field's
// start moves back, arrows cross fields, pasting "a.b.c.d" fills all four.

#include "widgets/AddressFieldEdit.h"
#include "widgets/FieldColours.h"

#include <QMetaObject>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

namespace widgets {

class FourFieldAddressWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FourFieldAddressWidget)

public:
    explicit FourFieldAddressWidget(QWidget* parent = nullptr);
    ~FourFieldAddressWidget() override;

    // Every field shows its byte of the packed address; none stays empty.
    void setAddress(std::uint32_t packed);
    // The shown address packed; an empty field counts as 0.
    std::uint32_t address() const;
    void clearAddress();
    // True when every field is empty.
    bool isBlank() const;
    // Limits for what the person types into field 0..3, as a range word
    // (high << 8) + low. Other field indexes are ignored.
    void setRange(int field, std::uint16_t rangeWord);
    // The owner's answer to how an enabled field is painted.
    void setColourSource(FieldColourSource source);
    // Names the widget for screen readers as the address, and each field
    // after it and its position ("IPアドレス 1番目"; the position alone
    // without a name).
    void nameFields(const QString& addressName);
    // The four fields' texts joined by dots as shown; "" when all are empty.
    QString shownText() const;

signals:
    void fieldChanged(int field, int value);
    void focusGained();
    void focusLost();
    void contentChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void layoutFields();
    void pasteInto(AddressFieldEdit* field);
    void onFocusChanged(QWidget* old, QWidget* now);
    void onFieldTextChanged();
    int frameWidth() const;
    int dotWidth() const;

    std::array<AddressFieldEdit*, 4> m_fields{};
    FieldColourSource m_colourSource;
    QMetaObject::Connection m_focusConnection;
    bool m_quiet = false;
};

} // namespace widgets
