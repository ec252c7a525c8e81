// The address control's behaviour: its stored fields and ranges, its widget
// made and destroyed with the window, its properties, events and sizing.

#include "widgets/TCustomIPAddressControl.h"

#include "widgets/AddressFieldEdit.h"
#include "widgets/EventBoundary.h"
#include "widgets/FieldColours.h"
#include "widgets/FourFieldAddressWidget.h"
#include "widgets/TIPAddressField.h"
#include "widgets/core/DottedText.h"
#include "widgets/core/EConvertError.h"
#include "widgets/core/EInvalidOperation.h"
#include "widgets/core/ERangeError.h"
#include "widgets/core/FieldInteger.h"
#include "widgets/core/PackedAddress.h"
#include "widgets/core/RangeErrorMessage.h"

#include <QApplication>
#include <QFontMetrics>
#include <QShowEvent>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace widgets {

namespace {

constexpr int kInitialWidth = 121;
constexpr int kInitialHeight = 25;

// The widest character the control can show: the fields take digits only.
int widestDigit(const QFontMetrics& metrics)
{
    int widest = 0;
    for (char c = '0'; c <= '9'; ++c)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(c)));
    return widest;
}

} // namespace

TCustomIPAddressControl::TCustomIPAddressControl(QWidget* parent) : QWidget(parent)
{
    for (int i = 0; i < 4; ++i)
        m_fields[static_cast<std::size_t>(i)] = std::make_unique<TIPAddressField>(this, i);
    // Its own font, not the parent's, until one is set: all properties marked
    // as set stops Qt from handing the parent's font down.
    QFont own = QApplication::font(this);
    own.setResolveMask(QFont::AllPropertiesResolved);
    setFont(own);
    resize(kInitialWidth, kInitialHeight);
    // A tab stop from the start, so that a form can place it in its tab
    // order before the widget (which then takes the focus) exists.
    setFocusPolicy(Qt::StrongFocus);
}

TCustomIPAddressControl::~TCustomIPAddressControl()
{
    releaseAddressWidget(true);
}

const TIPAddressField& TCustomIPAddressControl::field(int index) const
{
    return *m_fields[static_cast<std::size_t>(std::clamp(index, 0, 3))];
}

TIPAddressField& TCustomIPAddressControl::mutableField(int index)
{
    return *m_fields[static_cast<std::size_t>(std::clamp(index, 0, 3))];
}

std::array<std::int32_t, 4> TCustomIPAddressControl::digits() const
{
    return {field(0).GetDigit(), field(1).GetDigit(), field(2).GetDigit(), field(3).GetDigit()};
}

// --- the window ------------------------------------------------------------

FourFieldAddressWidget& TCustomIPAddressControl::ensureAddressWidget()
{
    if (!m_widget)
        CreateWnd();
    return *m_widget;
}

void TCustomIPAddressControl::CreateWnd()
{
    if (!parentWidget()) {
        QString text = QString::fromUtf8(kNoParentWindowPattern);
        text.replace(QLatin1String("%s"), objectName());
        throw EInvalidOperation(text.toStdString());
    }
    m_widget = new FourFieldAddressWidget(this);
    m_widget->setGeometry(rect());
    connect(m_widget, &FourFieldAddressWidget::fieldChanged, this,
            [this](int iField, int iValue) { runGuarded([&] { CNNotify(iField, iValue); }); });
    connect(m_widget, &FourFieldAddressWidget::focusGained, this,
            [this] { runGuarded([this] { CNCommand(WidgetCommand::SetFocus); }); });
    connect(m_widget, &FourFieldAddressWidget::focusLost, this,
            [this] { runGuarded([this] { CNCommand(WidgetCommand::KillFocus); }); });
    connect(m_widget, &FourFieldAddressWidget::contentChanged, this,
            [this] { runGuarded([this] { CNCommand(WidgetCommand::Change); }); });
    connect(m_widget, &FourFieldAddressWidget::contentChanged, this,
            &TCustomIPAddressControl::updateAccessibleTexts);
    m_widget->setColourSource([this](int f) { return WMCTLCOLOREDIT(f); });
    // A new widget takes the limits the fields use now, so that one made
    // again after a destroy does not lose ranges assigned earlier.
    for (int i = 0; i < 4; ++i)
        m_widget->setRange(
            i, rangeWord(field(i).Range()->LowerLimit(), field(i).Range()->UpperLimit()));
    placeFieldsInTabChain();
    setFocusProxy(m_widget);
    setTabStop(m_tabStop);
    if (isVisible())
        m_widget->show();
    if (m_autoSize)
        Adjust();
    SetIPAddress();
    updateAccessibleTexts();
}

void TCustomIPAddressControl::updateAccessibleTexts()
{
    if (!m_widget)
        return;
    m_widget->nameFields(accessibleName());
    setAccessibleDescription(m_widget->shownText());
}

QList<AddressFieldEdit*> TCustomIPAddressControl::addressFields() const
{
    if (!m_widget)
        return {};
    QList<AddressFieldEdit*> fields = m_widget->findChildren<AddressFieldEdit*>();
    std::ranges::sort(fields, [](const AddressFieldEdit* a, const AddressFieldEdit* b) {
        return a->index() < b->index();
    });
    return fields;
}

void TCustomIPAddressControl::placeFieldsInTabChain()
{
    // Made late, the fields would sit at the end of the window's tab chain;
    // they belong where the form put the control.
    QWidget* previous = this;
    for (AddressFieldEdit* f : addressFields()) {
        QWidget::setTabOrder(previous, f);
        previous = f;
    }
}

void TCustomIPAddressControl::destroyAddressWidget()
{
    releaseAddressWidget(false);
}

void TCustomIPAddressControl::releaseAddressWidget(bool now)
{
    if (!m_widget)
        return;
    FourFieldAddressWidget* widget = m_widget;
    m_widget = nullptr;
    widget->disconnect(this);
    widget->setColourSource({});
    setFocusProxy(nullptr);
    if (now) {
        delete widget;
    } else {
        // It may be the widget whose notice is being handled right now.
        widget->hide();
        widget->deleteLater();
    }
}

// --- stored values, push and pull -------------------------------------------

void TCustomIPAddressControl::writeField(int number, int value)
{
    TIPAddressField& f = mutableField(number - 1);
    if (value == f.GetDigit() && !GetIsBlank())
        return;
    const TIPAddrRange* range = f.Range();
    if (value < range->LowerLimit() || value > range->UpperLimit())
        RaiseRangeError(f.Range(), value, number);
    f.SetDigit(value);
    SetIPAddress();
}

void TCustomIPAddressControl::RaiseRangeError(TIPAddrRange* ipRange, int value, int fieldNumber)
{
    if (OnRangeError) {
        // The handler gets a variable of its own: putting another object in
        // it changes nothing here, changing the limits of the one it got does.
        TIPAddrRange* variable = ipRange;
        OnRangeError(this, variable, value, fieldNumber);
        return;
    }
    if (fieldNumber >= 1 && fieldNumber <= 4)
        mutableField(fieldNumber - 1).SetDigit(255);
    const int lower = ipRange ? ipRange->LowerLimit() : 0;
    const int upper = ipRange ? ipRange->UpperLimit() : 255;
    throw ERangeError(formatRangeError(value, lower, upper));
}

void TCustomIPAddressControl::setRanges(int index, TIPAddrRange* r)
{
    if (r != field(index).Range())
        mutableField(index).SetRange(r);
}

void TCustomIPAddressControl::SetIPAddress()
{
    if (m_widget)
        m_widget->setAddress(packAddress(digits()));
}

void TCustomIPAddressControl::UpdateIPAddress()
{
    const std::uint32_t shown = m_widget ? m_widget->address() : 0;
    for (int i = 0; i < 4; ++i)
        mutableField(i).SetDigit(addressByte(shown, i));
}

bool TCustomIPAddressControl::GetModified() const
{
    const std::uint32_t shown = m_widget ? m_widget->address() : 0;
    for (int i = 0; i < 4; ++i)
        if (addressByte(shown, i) != field(i).GetDigit())
            return true;
    return false;
}

bool TCustomIPAddressControl::GetIsBlank() const
{
    return m_widget == nullptr || m_widget->isBlank();
}

void TCustomIPAddressControl::SetIsBlank(bool blank)
{
    if (blank && m_widget)
        m_widget->clearAddress();
}

QString TCustomIPAddressControl::GetIPAddr()
{
    if (GetIsBlank())
        return {};
    if (GetModified())
        UpdateIPAddress();
    return QString::fromStdString(formatDotted(digits()));
}

void TCustomIPAddressControl::SetIPAddr(const QString& text)
{
    const std::string bytes = text.toStdString();
    const std::vector<std::string_view> parts = dottedTextParts(bytes);
    try {
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const std::optional<std::int32_t> value = parseFieldInteger(parts[i]);
            if (!value)
                throw EConvertError("'" + std::string(parts[i]) + "' is not a valid integer value");
            writeField(static_cast<int>(i) + 1, *value);
        }
    } catch (const std::exception&) {
        // A text that is not an address leaves the control blank; the
        // fields written before the bad part keep their new values.
        SetIsBlank(true);
    }
}

// --- notifications from the widget -----------------------------------------

void TCustomIPAddressControl::CNNotify(int iField, int iValue)
{
    // Taken as reported: the widget keeps a person's input within limits.
    if (iField >= 0 && iField <= 3)
        mutableField(iField).SetDigit(iValue);
}

void TCustomIPAddressControl::CNCommand(WidgetCommand code)
{
    switch (code) {
    case WidgetCommand::SetFocus:
        Enter();
        break;
    case WidgetCommand::KillFocus:
        Leave();
        break;
    case WidgetCommand::Change:
        Change();
        break;
    }
}

void TCustomIPAddressControl::Change()
{
    // Qt has no generic "control changed" notice to pass on first.
    if (OnChange)
        OnChange(this);
}

void TCustomIPAddressControl::Enter()
{
    if (OnEnter)
        OnEnter(this);
}

void TCustomIPAddressControl::Leave()
{
    if (OnExit)
        OnExit(this);
}

// --- size, font, colours ----------------------------------------------------

void TCustomIPAddressControl::Adjust()
{
    // Height from the font's full height; width from eight cells of the
    // widest digit plus padding. The font's widest glyph of all (a full-width
    // character in Japanese faces) would make the control too wide for the
    // place the settings dialog gives it and cut off the fourth field.
    const QFontMetrics metrics(font());
    resize((widestDigit(metrics) + 8) * 8, metrics.height() + 8);
}

void TCustomIPAddressControl::SetAutoSize(bool value)
{
    if (value == m_autoSize)
        return;
    m_autoSize = value;
    UpdateHeight();
}

void TCustomIPAddressControl::UpdateHeight()
{
    // Fixed height stands for "its height is the font's business": layouts
    // do not stretch it.
    QSizePolicy policy = sizePolicy();
    if (m_autoSize) {
        policy.setVerticalPolicy(QSizePolicy::Fixed);
        setSizePolicy(policy);
        Adjust();
    } else {
        policy.setVerticalPolicy(QSizePolicy::Preferred);
        setSizePolicy(policy);
    }
}

void TCustomIPAddressControl::CMFontChanged()
{
    Adjust();
    // Qt has already handed the font to the widget and its fields.
    if (m_widget)
        WMSize();
}

void TCustomIPAddressControl::WMSize()
{
    if (OnResize)
        OnResize(this);
    update();
}

QColor TCustomIPAddressControl::Color() const
{
    return m_color.isValid() ? m_color : palette().color(QPalette::Active, QPalette::Base);
}

void TCustomIPAddressControl::setColor(const QColor& colour)
{
    m_color = colour;
    repaintFields();
}

QColor TCustomIPAddressControl::fontColor() const
{
    return m_fontColor.isValid() ? m_fontColor : palette().color(QPalette::Active, QPalette::Text);
}

void TCustomIPAddressControl::setFontColor(const QColor& colour)
{
    m_fontColor = colour;
    repaintFields();
}

void TCustomIPAddressControl::repaintFields()
{
    if (!m_widget)
        return;
    m_widget->update();
    for (QWidget* child : m_widget->findChildren<QWidget*>())
        child->update();
}

FieldColours TCustomIPAddressControl::WMCTLCOLOREDIT(int /*unused*/) const
{
    return {fontColor(), Color()};
}

void TCustomIPAddressControl::setTabStop(bool value)
{
    m_tabStop = value;
    setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
    const QList<AddressFieldEdit*> fields = addressFields();
    if (!fields.isEmpty())
        fields.first()->setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
}

// --- Qt events ---------------------------------------------------------------

void TCustomIPAddressControl::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_widget)
        runGuarded([this] { ensureAddressWidget(); });
    // A name given after the widget was made reaches the fields here.
    updateAccessibleTexts();
}

void TCustomIPAddressControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Unlike the size notice of old, the widget follows the control, so its
    // four fields always fit what is shown.
    if (m_widget)
        m_widget->setGeometry(rect());
    runGuarded([this] { WMSize(); });
}

void TCustomIPAddressControl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        runGuarded([this] { CMFontChanged(); });
    else if (event->type() == QEvent::ParentChange && !parentWidget())
        releaseAddressWidget(false);
}

} // namespace widgets
