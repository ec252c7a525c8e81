#pragma once
// Answers the message boxes a dialog shows (they block in their own event
// loop) and records their titles and texts in order.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class MessageBoxCatcher : public QObject
{
    Q_OBJECT

public:
    explicit MessageBoxCatcher(QObject* parent = nullptr);

    struct Box
    {
        QString title;
        QString text;
        bool hadParent = false;
        int buttons = 0;
    };
    const QList<Box>& boxes() const { return m_boxes; }
    QStringList texts() const;
    void clear() { m_boxes.clear(); }

    // Until this hook returns, a box stays open (for looking at the dialog
    // while a result box shows).
    void setBeforeClose(std::function<void(const Box&)> hook) { m_beforeClose = std::move(hook); }

private:
    void poll();

    QTimer m_timer;
    QList<Box> m_boxes;
    std::function<void(const Box&)> m_beforeClose;
};
