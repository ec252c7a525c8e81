// The password field: its own locked buffer, typing and erasing in it, its
// painting as stars, and the wiping of every key event's text.

#include "platform/gui/SecretEdit.h"

#include "platform/core/SecureWipe.h"
#include "platform/os/SecretMemory.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <cstddef>

namespace platform {

namespace {

// Inner space between the frame and the stars, as a line edit has.
constexpr int kHorizontalMargin = 2;
constexpr char16_t kStar = u'*';

bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c < 0xDC00;
}

bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c < 0xE000;
}

// Wipes the characters a key event carried. The event's text shares its
// buffer with every copy of it, so this reaches the one Qt made.
void wipeEventText(QKeyEvent* event)
{
    const QString shared = event->text();
    if (shared.isEmpty() || !shared.data_ptr().isMutable())
        return;
    secureWipe(
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast): data() would wipe a copy
        const_cast<QChar*>(shared.constData()),
        static_cast<std::size_t>(shared.size()) * sizeof(QChar));
}

// What assistive tools see: a password field, with no text to read.
class SecretEditAccessible : public QAccessibleWidget
{
public:
    explicit SecretEditAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::EditableText)
    {
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.passwordEdit = true;
        s.editable = true;
        return s;
    }
};

QAccessibleInterface* accessibleFor(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget != nullptr && className == QLatin1String(SecretEdit::staticMetaObject.className()))
        return new SecretEditAccessible(widget);
    return nullptr;
}

} // namespace

SecretEdit::SecretEdit(QWidget* parent)
    : QWidget(parent), m_locked(lockSecretMemory(m_text.data(), sizeof m_text))
{
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    (void)accessibleInstalled;
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAttribute(Qt::WA_KeyCompression, false);
    setCursor(Qt::IBeamCursor);
    setBackgroundRole(QPalette::Base);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

SecretEdit::~SecretEdit()
{
    clear();
    if (m_locked)
        unlockSecretMemory(m_text.data(), sizeof m_text);
}

QStringView SecretEdit::text() const
{
    return {m_text.data(), static_cast<qsizetype>(m_size)};
}

std::size_t SecretEdit::characterCount() const
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < m_size; ++i)
        count += isLowSurrogate(m_text[i]) && i > 0 && isHighSurrogate(m_text[i - 1]) ? 0 : 1;
    return count;
}

void SecretEdit::type(QStringView typed)
{
    const std::size_t before = m_size;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const char16_t c = typed[i].unicode();
        if (isHighSurrogate(c) && i + 1 < typed.size() && isLowSurrogate(typed[i + 1].unicode())) {
            if (m_size + 2 > kCapacity)
                break;
            m_text[m_size++] = c;
            m_text[m_size++] = typed[++i].unicode();
            continue;
        }
        if (!QChar(c).isPrint())
            continue; // control characters, lone surrogates
        if (m_size + 1 > kCapacity)
            break;
        m_text[m_size++] = c;
    }
    if (m_size != before)
        update();
}

void SecretEdit::clear()
{
    secureWipe(m_text.data(), sizeof m_text);
    m_size = 0;
    m_allSelected = false;
    update();
}

void SecretEdit::removeLast()
{
    if (m_size == 0)
        return;
    const bool pair =
        m_size >= 2 && isLowSurrogate(m_text[m_size - 1]) && isHighSurrogate(m_text[m_size - 2]);
    const std::size_t count = pair ? 2 : 1;
    m_size -= count;
    secureWipe(m_text.data() + m_size, count * sizeof(char16_t));
    update();
}

void SecretEdit::keyPressEvent(QKeyEvent* event)
{
    // Dialog keys go on to the dialog: OK, Cancel, focus moves.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        event->ignore();
        return;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        if (m_allSelected)
            clear();
        else if (event->key() == Qt::Key_Backspace)
            removeLast();
        event->accept();
        return;
    default:
        break;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        m_allSelected = m_size > 0;
        update();
        event->accept();
        return;
    }
    // Nothing of the text may leave by the clipboard, and a paste would come
    // in as a QString beyond our reach: those keys, and any other shortcut
    // key, do nothing here.
    const Qt::KeyboardModifiers shortcut = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Paste) || (event->modifiers() & shortcut) != 0) {
        event->accept();
        return;
    }
    if (event->text().isEmpty()) {
        event->ignore();
        return;
    }
    if (m_allSelected)
        clear();
    type(event->text());
    wipeEventText(event);
    event->accept();
}

void SecretEdit::keyReleaseEvent(QKeyEvent* event)
{
    wipeEventText(event);
    QWidget::keyReleaseEvent(event);
}

QVariant SecretEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    // An input method would see the text through these answers; it gets none.
    if (query == Qt::ImEnabled)
        return false;
    return {};
}

void SecretEdit::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void SecretEdit::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    m_allSelected = false;
    update();
}

void SecretEdit::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    m_allSelected = false;
    update();
}

QSize SecretEdit::sizeHint() const
{
    const QFontMetrics metrics(font());
    QStyleOptionFrame option;
    option.initFrom(this);
    const QSize contents(metrics.horizontalAdvance(QLatin1Char('x')) * 17 + 2 * kHorizontalMargin,
                         metrics.height() + 2);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, this);
}

QSize SecretEdit::minimumSizeHint() const
{
    return sizeHint();
}

void SecretEdit::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);

    const QRect area = style()
                           ->subElementRect(QStyle::SE_LineEditContents, &frame, this)
                           .adjusted(kHorizontalMargin, 0, -kHorizontalMargin, 0);
    painter.setClipRect(area);
    const QFontMetrics metrics(font());
    // Only the stars are ever drawn; a long password shows its end, where typing goes on.
    const QString stars(static_cast<qsizetype>(characterCount()), QChar(kStar));
    const int width = metrics.horizontalAdvance(stars);
    const int left = width > area.width() - 1 ? area.right() - width - 1 : area.left();
    const int baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(left, baseline, stars);
    if (hasFocus() && isEnabled()) {
        const int x = left + width;
        painter.drawLine(x, baseline - metrics.ascent(), x, baseline + metrics.descent() - 1);
    }
}

} // namespace platform
