// The four fields in one tab stop, the packed address in and out, each
// field's range, and a dotted address taken as a whole.

#include "widgets/FourFieldAddressWidget.h"

#include "widgets/AddressFieldEdit.h"
#include "widgets/FieldColours.h"
#include "widgets/core/PackedAddress.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace widgets {

FourFieldAddressWidget::FourFieldAddressWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("addressWidget"));
    for (int i = 0; i < 4; ++i) {
        auto* field = new AddressFieldEdit(i, this);
        field->setColourSource(&m_colourSource);
        m_fields[static_cast<std::size_t>(i)] = field;
        connect(field, &AddressFieldEdit::valueCommitted, this,
                &FourFieldAddressWidget::fieldChanged);
        connect(field, &AddressFieldEdit::pasteWanted, this, [this, field] { pasteInto(field); });
        connect(field, &QLineEdit::textChanged, this, &FourFieldAddressWidget::onFieldTextChanged);
        // One stop in the tab chain: only the first field takes Tab focus.
        field->setFocusPolicy(i == 0 ? Qt::StrongFocus : Qt::ClickFocus);
    }
    for (std::size_t i = 0; i < 4; ++i)
        m_fields[i]->setNeighbours(i > 0 ? m_fields[i - 1] : nullptr,
                                   i < 3 ? m_fields[i + 1] : nullptr);
    setFocusProxy(m_fields[0]);
    m_focusConnection =
        connect(qApp, &QApplication::focusChanged, this, &FourFieldAddressWidget::onFocusChanged);
}

FourFieldAddressWidget::~FourFieldAddressWidget()
{
    // The fields are destroyed after this body; focus leaving them then must
    // not reach a half-destroyed widget.
    disconnect(m_focusConnection);
    for (auto* field : m_fields)
        field->disconnect(this);
}

void FourFieldAddressWidget::setAddress(std::uint32_t packed)
{
    bool changed = false;
    m_quiet = true;
    for (int i = 0; i < 4; ++i) {
        const QString text = QString::number(addressByte(packed, i));
        AddressFieldEdit* field = m_fields[static_cast<std::size_t>(i)];
        changed = changed || field->text() != text;
        field->showText(text);
    }
    m_quiet = false;
    if (changed)
        emit contentChanged();
}

std::uint32_t FourFieldAddressWidget::address() const
{
    std::array<std::int32_t, 4> values{};
    for (std::size_t i = 0; i < 4; ++i)
        values[i] = m_fields[i]->value();
    return packAddress(values);
}

void FourFieldAddressWidget::clearAddress()
{
    const bool changed = !isBlank();
    m_quiet = true;
    for (auto* field : m_fields)
        field->showText(QString());
    m_quiet = false;
    if (changed)
        emit contentChanged();
}

bool FourFieldAddressWidget::isBlank() const
{
    return std::ranges::all_of(m_fields, [](const auto* field) { return field->text().isEmpty(); });
}

void FourFieldAddressWidget::setRange(int field, std::uint16_t word)
{
    if (field < 0 || field > 3)
        return;
    m_fields[static_cast<std::size_t>(field)]->setLimits(rangeLow(word), rangeHigh(word));
}

void FourFieldAddressWidget::setColourSource(FieldColourSource source)
{
    m_colourSource = std::move(source);
    update();
    for (auto* field : m_fields)
        field->update();
}

void FourFieldAddressWidget::nameFields(const QString& addressName)
{
    // The widget stands in for its owner's focus, so it is named as the address too.
    setAccessibleName(addressName);
    for (int i = 0; i < 4; ++i) {
        const QString position = QStringLiteral("%1番目").arg(i + 1);
        m_fields[static_cast<std::size_t>(i)]->setAccessibleName(
            addressName.isEmpty() ? position : addressName + QLatin1Char(' ') + position);
    }
}

QString FourFieldAddressWidget::shownText() const
{
    if (isBlank())
        return {};
    QStringList texts;
    for (const auto* field : m_fields)
        texts << field->text();
    return texts.join(QLatin1Char('.'));
}

void FourFieldAddressWidget::onFieldTextChanged()
{
    if (!m_quiet)
        emit contentChanged();
}

void FourFieldAddressWidget::onFocusChanged(QWidget* old, QWidget* now)
{
    // Moving between our own fields is no change for the owner.
    const bool wasInside = old != nullptr && (old == this || isAncestorOf(old));
    const bool isInside = now != nullptr && (now == this || isAncestorOf(now));
    // Focus given to the widget goes to the field that has it already, so a
    // handler that focuses the address again on entry moves no caret; from
    // outside it goes to the first field.
    if (isInside) {
        for (auto* field : m_fields)
            if (field == now)
                setFocusProxy(field);
    } else if (wasInside) {
        setFocusProxy(m_fields[0]);
    }
    if (wasInside != isInside)
        update(); // the frame shows whether the address has the focus
    if (wasInside && !isInside)
        emit focusLost();
    else if (!wasInside && isInside)
        emit focusGained();
}

bool FourFieldAddressWidget::focusNextPrevChild(bool next)
{
    // Shift+Tab from a later field leaves the address as a whole, like Tab:
    // go back to the first field, then let the chain step out from there.
    if (!next) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus != m_fields[0] && isAncestorOf(focus))
            m_fields[0]->setFocus(Qt::BacktabFocusReason);
    }
    return QWidget::focusNextPrevChild(next);
}

void FourFieldAddressWidget::pasteInto(AddressFieldEdit* field)
{
    const QString text = QApplication::clipboard()->text().trimmed();
    static const QRegularExpression dotted(
        QStringLiteral("^([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})$"));
    const QRegularExpressionMatch match = dotted.match(text);
    if (match.hasMatch()) {
        for (int i = 0; i < 4; ++i)
            m_fields[static_cast<std::size_t>(i)]->pasteValue(match.captured(i + 1).toInt());
        m_fields[3]->enterFromNext();
        return;
    }
    // A plain number goes into this field like typed digits; anything else
    // is refused by the field's digit rule.
    field->paste();
}

int FourFieldAddressWidget::frameWidth() const
{
    return style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
}

int FourFieldAddressWidget::dotWidth() const
{
    // No padding: every pixel spared goes to the numbers.
    return fontMetrics().horizontalAdvance(QLatin1Char('.'));
}

void FourFieldAddressWidget::layoutFields()
{
    const QRect inner = rect().adjusted(frameWidth(), frameWidth(), -frameWidth(), -frameWidth());
    const int dot = dotWidth();
    const int room = std::max(0, inner.width() - 3 * dot);
    int x = inner.left();
    for (int i = 0; i < 4; ++i) {
        // Spread the pixels that do not divide evenly over the first fields.
        const int w = room / 4 + (i < room % 4 ? 1 : 0);
        m_fields[static_cast<std::size_t>(i)]->setGeometry(x, inner.top(), w, inner.height());
        x += w + dot;
    }
}

void FourFieldAddressWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutFields();
}

void FourFieldAddressWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        layoutFields();
}

void FourFieldAddressWidget::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = frameWidth();
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken;
    QColor text = palette().color(QPalette::Text);
    if (isEnabled() && m_colourSource) {
        const FieldColours colours = m_colourSource(0);
        frame.palette.setColor(QPalette::Base, colours.background);
        text = colours.text;
    } else if (!isEnabled()) {
        text = palette().color(QPalette::Disabled, QPalette::Text);
    }
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);
    // The gaps between fields in the fields' own colour, without the inner
    // shading some styles draw along the frame.
    const int fw = frameWidth();
    painter.fillRect(
        rect().adjusted(fw, fw, -fw, -fw),
        frame.palette.brush(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base));

    painter.setPen(text);
    painter.setFont(font());
    for (std::size_t i = 0; i < 3; ++i) {
        const QRect f = m_fields[i]->geometry();
        const QRect dotRect(f.right() + 1, f.top(), dotWidth(), f.height());
        painter.drawText(dotRect, Qt::AlignCenter, QStringLiteral("."));
    }
}

void FourFieldAddressWidget::mousePressEvent(QMouseEvent* event)
{
    // A click between fields (on a dot or the frame) goes to the nearest one.
    AddressFieldEdit* nearest = m_fields[0];
    int best = INT_MAX;
    for (auto* field : m_fields) {
        const int d = std::abs(field->geometry().center().x() - event->position().toPoint().x());
        if (d < best) {
            best = d;
            nearest = field;
        }
    }
    nearest->setFocus(Qt::MouseFocusReason);
    event->accept();
}

} // namespace widgets
