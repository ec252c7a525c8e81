#include "platform/gui/SelectionFocus.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QObject>
#include <QPalette>

namespace platform {
namespace {

class SelectionFocusKeeper : public QObject
{
public:
    explicit SelectionFocusKeeper(QAbstractItemView* view)
        : QObject(view), m_view(view), m_focused(view->palette())
    {
        m_unfocused = m_focused;
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            m_unfocused.setColor(group, QPalette::Highlight,
                                 m_focused.color(group, QPalette::Button));
            m_unfocused.setColor(group, QPalette::HighlightedText,
                                 m_focused.color(group, QPalette::ButtonText));
        }
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
