// The password field: what keys do to it, what it shows, and that nothing of
// the text is left in its buffer or handed out.

#include "platform/gui/SecretEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QTest>
#include <algorithm>

using platform::SecretEdit;

namespace {

bool bufferIsZero(const SecretEdit& edit)
{
    const char16_t* buffer = edit.text().utf16();
    return std::all_of(buffer, buffer + SecretEdit::kCapacity, [](char16_t c) { return c == 0; });
}

// Columns inside the frame that hold any dark (text) pixel.
int inkColumns(SecretEdit& edit)
{
    const QImage image = edit.grab().toImage();
    int columns = 0;
    for (int x = 4; x < image.width() - 4; ++x) {
        for (int y = 3; y < image.height() - 3; ++y) {
            // Dark enough for a glyph's stroke, smoothed at its edges or not.
            if (qGray(image.pixel(x, y)) < 160) {
                ++columns;
                break;
            }
        }
    }
    return columns;
}

} // namespace

class SecretEditTest : public QObject
{
    Q_OBJECT

private slots:
    void keysEditTheEnd();
    void nothingLeavesOrStays();
    void showsStarsOnly();
};

void SecretEditTest::keysEditTheEnd()
{
    SecretEdit edit;
    QTest::keyClicks(&edit, QStringLiteral("Zq7#W"));
    QCOMPARE(edit.text().toString(), QStringLiteral("Zq7#W"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Left); // no cursor to move: the end stays the end
    QTest::keyClicks(&edit, QStringLiteral("x"));
    QCOMPARE(edit.text().toString(), QStringLiteral("Zq7#x"));
    // A surrogate pair is one character, taken and removed whole.
    edit.type(u"\U0001F600");
    QCOMPARE(edit.characterCount(), 6u);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text().toString(), QStringLiteral("Zq7#x"));
    // Control characters are not text; Ctrl+A then a key replaces everything.
    edit.type(u"\t\u0001\u007f");
    QCOMPARE(edit.text().size(), 5);
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&edit, QStringLiteral("n"));
    QCOMPARE(edit.text().toString(), QStringLiteral("n"));
    // Full is full: nothing beyond the capacity is written.
    edit.type(QString(int(SecretEdit::kCapacity) + 10, QLatin1Char('a')));
    QCOMPARE(std::size_t(edit.text().size()), SecretEdit::kCapacity);
}

void SecretEditTest::nothingLeavesOrStays()
{
    SecretEdit edit;
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClicks(&edit, QStringLiteral("secret"));
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("pasted"));
    QCOMPARE(edit.text().toString(), QStringLiteral("secret"));
    QVERIFY(!edit.testAttribute(Qt::WA_InputMethodEnabled));
    QCOMPARE(edit.inputMethodQuery(Qt::ImSurroundingText), QVariant());

    // Assistive tools learn it is a password field and read no text.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&edit);
    QVERIFY(accessible);
    QVERIFY(accessible->state().passwordEdit);
    QVERIFY(!accessible->textInterface());
    QVERIFY(!accessible->text(QAccessible::Value).contains(QLatin1String("secret")));

    // The key events' own copies are wiped, the release's as well as the press's.
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        const QString typed(1, QLatin1Char('k')); // shares its buffer with the event's text
        QKeyEvent event(type, Qt::Key_K, Qt::NoModifier, typed);
        QApplication::sendEvent(&edit, &event);
        QCOMPARE(typed.at(0), QChar(0));
    }
    QTest::keyClick(&edit, Qt::Key_Backspace);

    // Backspace wipes what it removes; clear wipes the whole buffer.
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text().utf16()[5], u'\0');
    edit.clear();
    QVERIFY(edit.isEmpty());
    QVERIFY(bufferIsZero(edit));
}

void SecretEditTest::showsStarsOnly()
{
    // One "*" per character, whatever the characters: "ii" and "WW" look the same.
    SecretEdit narrow;
    SecretEdit wide;
    for (SecretEdit* edit : {&narrow, &wide})
        edit->resize(202, 21);
    QCOMPARE(inkColumns(narrow), 0);
    narrow.type(u"ii");
    wide.type(u"WW");
    QVERIFY(inkColumns(narrow) > 0);
    QCOMPARE(inkColumns(narrow), inkColumns(wide));
    const int two = inkColumns(narrow);
    narrow.type(u"ii");
    QVERIFY(inkColumns(narrow) > two);
}

QTEST_MAIN(SecretEditTest)
#include "SecretEditTest.moc"
