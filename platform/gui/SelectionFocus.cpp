// Switches a list's palette between the highlight and the button shade as it
// gains and loses the focus.

#include "platform/gui/SelectionFocus.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QObject>
#include <QPalette>

namespace platform {
namespace {

// The selection in the button shade instead of the highlight.
QPalette withoutHighlight(QPalette palette)
{
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, palette.color(group, QPalette::Button));
        palette.setColor(group, QPalette::HighlightedText,
                         palette.color(group, QPalette::ButtonText));
    }
    return palette;
}

class SelectionFocusKeeper : public QObject
{
public:
    explicit SelectionFocusKeeper(QAbstractItemView* view)
        : QObject(view), m_view(view), m_focused(view->palette()),
          m_unfocused(withoutHighlight(m_focused))
    {
        apply();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_view &&
            (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
            apply();
        return false;
    }

private:
    void apply() { m_view->setPalette(m_view->hasFocus() ? m_focused : m_unfocused); }

    QAbstractItemView* m_view;
    QPalette m_focused;
    QPalette m_unfocused;
};

} // namespace

void showFocusInSelection(QAbstractItemView* view)
{
    view->installEventFilter(new SelectionFocusKeeper(view));
}

} // namespace platform
