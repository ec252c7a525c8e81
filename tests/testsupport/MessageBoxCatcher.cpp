// Polls the top-level widgets for a message box, records its text and
// answers it.

#include "tests/testsupport/MessageBoxCatcher.h"

#include <QAbstractButton>
#include <QApplication>

MessageBoxCatcher::MessageBoxCatcher(QMessageBox::StandardButton answer, QObject* parent)
    : QObject(parent), m_answer(answer)
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
    // Top-level widgets, not only the modal one: some boxes leave the other
    // windows usable.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (!box || !box->isVisible() || box->property("caught").toBool())
            continue;
        box->setProperty("caught", true);
        QStringList buttonTexts;
        for (const QAbstractButton* button : box->buttons())
            buttonTexts << button->text();
        buttonTexts.sort();
        Box seen{box->windowTitle(),
                 box->text(),
                 box->parent() != nullptr,
                 int(box->buttons().size()),
                 box->standardButtons(),
                 box->icon(),
                 box->windowModality() != Qt::NonModal,
                 box->textFormat(),
                 buttonTexts};
        m_boxes << seen;
        if (m_beforeClose)
            m_beforeClose(seen);
        if (QAbstractButton* button = box->button(m_answer))
            button->click();
        else
            box->reject();
    }
}
