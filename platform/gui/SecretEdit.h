#pragma once
// A one-line password field that keeps the typed text where we can wipe it:
// a fixed buffer of its own, locked in memory where the system allows, and
// overwritten on every clear and when the field goes. A QLineEdit keeps
// copies beyond our reach (its undo history, the QStrings it hands out and
// reallocates), so this field takes the keys itself. It shows one "*" per
// character, offers no clipboard, drag or input method, and its cursor always
// stands at the end; the one selection is all of it (Ctrl+A), which the next
// key replaces. Assistive tools learn that it is a password field, never its text.

#include <QStringView>
#include <QWidget>
#include <array>
#include <cstddef>

namespace platform {

class SecretEdit : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SecretEdit)

public:
    // UTF-16 units, as many as a request's buffer has bytes: a password that
    // fills it cannot be sent anyway (it is refused as too long), so keys
    // beyond this change nothing a user could see.
    static constexpr std::size_t kCapacity = 1024;

    explicit SecretEdit(QWidget* parent = nullptr);
    ~SecretEdit() override;

    // A view of the field's own buffer, valid until the next change. Convert
    // it straight to where it goes; never keep a QString of it.
    QStringView text() const;
    bool isEmpty() const { return m_size == 0; }
    // Characters shown: a surrogate pair is one.
    std::size_t characterCount() const;

    // Adds text as if typed (what is not printable is skipped); stops at the capacity.
    void type(QStringView typed);
    // Overwrites the buffer and empties the field.
    void clear();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Answers nothing: an input method would read the text through it.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The release of a key carries the typed character too: wiped alike.
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void removeLast();

    std::array<char16_t, kCapacity> m_text{};
    std::size_t m_size = 0;
    bool m_allSelected = false;
    bool m_locked = false;
};

} // namespace platform
