#pragma once
// Keys as a person presses them: each goes to whatever has the focus now,
// so the caret jumping between fields is followed.

#include "widgets/FourFieldAddressWidget.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

inline void typeKeys(const QString& text)
{
    for (QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY2(target, "nothing has the focus");
        QTest::keyClick(target, c.toLatin1());
    }
}

inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the focus");
    QTest::keyClick(target, key, modifiers);
}

inline QLineEdit* addressField(const QWidget* widget, int index)
{
    return widget->findChild<QLineEdit*>(QStringLiteral("field%1").arg(index));
}

inline QStringList fieldTexts(const QWidget* widget)
{
    QStringList texts;
    for (int i = 0; i < 4; ++i)
        texts << addressField(widget, i)->text();
    return texts;
}

inline int focusedField(const QWidget* widget)
{
    for (int i = 0; i < 4; ++i)
        if (addressField(widget, i)->hasFocus())
            return i;
    return -1;
}
