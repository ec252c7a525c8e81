#include "MessageBoxCatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

MessageBoxCatcher::MessageBoxCatcher(QObject* parent) : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxCatcher::poll);
    m_timer.start(20);
}

QStringList MessageBoxCatcher::texts() const
{
    QStringList list;
    for (const Box& box : m_boxes)
        list << box.text;
    return list;
}

void MessageBoxCatcher::poll()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (!box || !box->isVisible() || box->property("caught").toBool())
            continue;
        box->setProperty("caught", true);
        Box seen{box->windowTitle(), box->text(), box->parent() != nullptr,
                 int(box->buttons().size())};
        m_boxes << seen;
        if (m_beforeClose)
            m_beforeClose(seen);
        box->done(QMessageBox::Ok);
    }
}
