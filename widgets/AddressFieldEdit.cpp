// One field: only ASCII digits, no input method, its limits, and the keys
// that move between fields.

#include "widgets/AddressFieldEdit.h"

#include "widgets/FieldColours.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <algorithm>

namespace widgets {

namespace {
constexpr int kDigits = 3;

bool isAsciiDigitKey(const QKeyEvent* event)
{
    const QString t = event->text();
    return t.size() == 1 && t.at(0) >= QLatin1Char('0') && t.at(0) <= QLatin1Char('9');
}
} // namespace

AddressFieldEdit::AddressFieldEdit(int index, QWidget* parent) : QLineEdit(parent), m_index(index)
{
    setFrame(false);
    setAlignment(Qt::AlignCenter);
    setMaxLength(kDigits);
    // Whatever way text arrives (keys, input method, drag and drop), only
    // ASCII digits get in.
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this));
    setObjectName(QStringLiteral("field%1").arg(index));
    // Plain keys, no composing: a Japanese input method left on would turn
    // digits into full-width ones that no field takes.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhDigitsOnly);
    connect(this, &QLineEdit::textEdited, this, &AddressFieldEdit::onTextEdited);
}

int AddressFieldEdit::value() const
{
    return text().toInt();
}

void AddressFieldEdit::setNeighbours(AddressFieldEdit* previous, AddressFieldEdit* next)
{
    m_previous = previous;
    m_next = next;
}

void AddressFieldEdit::setLimits(int low, int high)
{
    // A range given upside down still leaves a usable field.
    m_low = std::min(low, high);
    m_high = std::max(low, high);
}

void AddressFieldEdit::showText(const QString& text)
{
    m_edited = false;
    setText(text);
}

void AddressFieldEdit::pasteValue(int value)
{
    setText(QString::number(std::clamp(value, m_low, m_high)));
    m_edited = true;
    commit();
}

void AddressFieldEdit::enterFromPrevious()
{
    setFocus(Qt::OtherFocusReason);
    selectAll();
    m_justEntered = true;
}

void AddressFieldEdit::enterFromNext()
{
    setFocus(Qt::OtherFocusReason);
    deselect();
    setCursorPosition(static_cast<int>(text().size()));
    m_justEntered = false;
}

void AddressFieldEdit::keyPressEvent(QKeyEvent* event)
{
    const bool justEntered = m_justEntered;
    m_justEntered = false;

    if (event->matches(QKeySequence::Paste)) {
        emit pasteWanted();
        event->accept();
        return;
    }
    if (event->text() == QLatin1String(".")) {
        // A "." right after the caret jumped here from a full field finishes
        // that field, not this one.
        if (!justEntered && !text().isEmpty() && m_next != nullptr)
            m_next->enterFromPrevious();
        event->accept();
        return;
    }
    if (handleNavigationKey(event))
        return;

    if (isAsciiDigitKey(event) && text().size() == kDigits && !hasSelectedText() &&
        cursorPosition() == kDigits) {
        // A digit beyond a full field goes on in the next one.
        if (m_next) {
            m_next->enterFromPrevious();
            QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
            QCoreApplication::sendEvent(m_next, &copy);
        }
        event->accept();
        return;
    }

    QLineEdit::keyPressEvent(event);

    if (isAsciiDigitKey(event) && text().size() == kDigits && !hasSelectedText() &&
        cursorPosition() == kDigits && m_next != nullptr)
        m_next->enterFromPrevious();
}

bool AddressFieldEdit::handleNavigationKey(QKeyEvent* event)
{
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const bool atStart = cursorPosition() == 0 && !hasSelectedText();
    const bool atEnd = cursorPosition() == text().size() && !hasSelectedText();
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Left:
        if (!atStart || !m_previous)
            return false;
        m_previous->enterFromNext();
        break;
    case Qt::Key_Right:
        if (!atEnd || !m_next)
            return false;
        m_next->setFocus(Qt::OtherFocusReason);
        m_next->deselect();
        m_next->setCursorPosition(0);
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The address keeps its arrow keys: they do not walk the dialog.
        break;
    default:
        return false;
    }
    event->accept();
    return true;
}

void AddressFieldEdit::onTextEdited()
{
    m_edited = true;
    // The upper limit holds while typing; the lower one only once the field
    // is left, or "1" could never grow into "192" with limits 100..223.
    if (!text().isEmpty() && value() > m_high)
        setText(QString::number(m_high));
}

void AddressFieldEdit::commit()
{
    if (!m_edited)
        return;
    m_edited = false;
    // "007" settles as 7; an empty field stays empty.
    if (!text().isEmpty())
        setText(QString::number(std::max(value(), m_low)));
    emit valueCommitted(m_index, value());
}

void AddressFieldEdit::focusOutEvent(QFocusEvent* event)
{
    m_justEntered = false;
    QLineEdit::focusOutEvent(event);
    commit();
}

void AddressFieldEdit::paintEvent(QPaintEvent* event)
{
    applyColours();
    QLineEdit::paintEvent(event);
}

void AddressFieldEdit::applyColours()
{
    // A disabled field keeps the style's greyed look, as disabled edit fields
    // do everywhere else.
    if (!m_colourSource || !*m_colourSource || !isEnabled())
        return;
    const FieldColours colours = (*m_colourSource)(m_index);
    QPalette p = palette();
    if (p.color(QPalette::Active, QPalette::Base) == colours.background &&
        p.color(QPalette::Active, QPalette::Text) == colours.text)
        return;
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Base, colours.background);
        p.setColor(group, QPalette::Text, colours.text);
    }
    setPalette(p);
}

void AddressFieldEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    // Paste goes through the widget, which knows how to spread a whole
    // dotted address over the four fields.
    for (QAction* action : menu->actions()) {
        // Newer Qt names the action; older Qt only labels it.
        if (action->objectName() == QLatin1String("edit-paste") ||
            action->text().startsWith(QLineEdit::tr("&Paste"))) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, &AddressFieldEdit::pasteWanted);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace widgets
