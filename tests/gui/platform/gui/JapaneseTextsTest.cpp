// The edit fields' context menus say every word in Japanese: nothing of the
// Latin alphabet but the access key and the shortcut after the tab.

#include "platform/gui/JapaneseTexts.h"

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

class JapaneseTextsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editMenusSayNoEnglishWord();
};

void JapaneseTextsTest::editMenusSayNoEnglishWord()
{
    platform::installJapaneseTexts();
    QLineEdit line;
    QPlainTextEdit box;
    QPlainTextEdit shown;
    shown.setReadOnly(true);
    const QRegularExpression accessKey(QStringLiteral("\\(&[A-Z]\\)$"));
    const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    int words = 0;
    for (QWidget* edit : std::initializer_list<QWidget*>{&line, &box, &shown}) {
        const std::unique_ptr<QMenu> menu(
            qobject_cast<QLineEdit*>(edit)
                ? static_cast<QLineEdit*>(edit)->createStandardContextMenu()
                : static_cast<QPlainTextEdit*>(edit)->createStandardContextMenu());
        for (const QAction* action : menu->actions()) {
            QString word = action->text().section(QLatin1Char('\t'), 0, 0);
            if (word.isEmpty())
                continue; // a separator
            ++words;
            QVERIFY2(word.contains(accessKey) && !word.remove(accessKey).contains(latin),
                     qPrintable(action->text()));
        }
    }
    QCOMPARE(words, 7 + 7 + 2);
}

QTEST_MAIN(JapaneseTextsTest)
#include "JapaneseTextsTest.moc"
