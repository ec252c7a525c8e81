#pragma once
// Answers the message boxes a window shows (they wait in their own event
// loop) and records what each showed, in order.

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class MessageBoxCatcher : public QObject
{
    Q_OBJECT

public:
    // Every box is answered with this button (or closed, if it has none).
    explicit MessageBoxCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok,
                               QObject* parent = nullptr);

    struct Box
    {
        QString title;
        QString text;
        bool hadParent = false;
        int buttons = 0; // how many
        QMessageBox::StandardButtons standardButtons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool blocksOtherWindows = false;
        Qt::TextFormat textFormat = Qt::AutoText;
        QStringList buttonTexts; // sorted
    };
    const QList<Box>& boxes() const { return m_boxes; }
    QStringList texts() const;
    void clear() { m_boxes.clear(); }

    // Until this hook returns, a box stays open (for looking at the window
    // while a result box shows).
    void setBeforeClose(std::function<void(const Box&)> hook) { m_beforeClose = std::move(hook); }

private:
    void poll();

    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
    QList<Box> m_boxes;
    std::function<void(const Box&)> m_beforeClose;
};
