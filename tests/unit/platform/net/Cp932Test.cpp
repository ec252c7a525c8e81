// CP932 conversion of unit texts, and field decoding.

#include "platform/net/Cp932.h"

#include "discovery/RecordText.h"

#include <QStringDecoder>
#include <QTest>
#include <cstring>

class Cp932Test : public QObject
{
    Q_OBJECT

private slots:
    void roundTripAndMicrosoftTable()
    {
        QVERIFY(platform::cp932::available());
        bool ok = false;
        const QString name = QStringLiteral("ナス１テスト");
        const QByteArray bytes = platform::cp932::encode(name, &ok);
        QVERIFY(ok);
        QCOMPARE(bytes.toHex(), QByteArray("8369835882508365835883678367").left(bytes.size() * 2));
        QCOMPARE(platform::cp932::decode(bytes, &ok), name);
        QVERIFY(ok);
        // Microsoft's table: 0x8160 is the fullwidth tilde, 0x815F the backslash-like yen-free
        // mark.
        QCOMPARE(platform::cp932::decode(QByteArray("\x81\x60"), &ok), QStringLiteral("\uFF5E"));
        QVERIFY(ok);
        // Control codes are themselves, also the three IBM's table swaps.
        const QByteArray controls("\x1a\x1c\x7f\x83\x69\x1a", 6);
        const QString controlText = QStringLiteral("\x1a\x1c\x7f\u30CA\x1a");
        QCOMPARE(platform::cp932::decode(controls, &ok), controlText);
        QVERIFY(ok);
        QCOMPARE(platform::cp932::encode(controlText, &ok), controls);
        QVERIFY(ok);
        // Printable ASCII is read without the converter; mixed with other
        // bytes it still goes through it.
        QByteArray printable;
        for (int b = 0x20; b < 0x7F; ++b)
            printable.append(char(b));
        QCOMPARE(platform::cp932::decode(printable, &ok), QString::fromLatin1(printable));
        QVERIFY(ok);
        QCOMPARE(platform::cp932::decode(printable + "\x82\xa0", &ok),
                 QString::fromLatin1(printable) + QStringLiteral("あ"));
        QVERIFY(ok);
    }

    void badInputIsMarked()
    {
        bool ok = true;
        // A lead byte at the end is reported, not silently held back.
        const QString cut = platform::cp932::decode(QByteArray("AB\x83"), &ok);
        QVERIFY(!ok);
        QVERIFY(cut.startsWith(QStringLiteral("AB")));
        QVERIFY(cut.contains(QChar(0xFFFD)));
        // A lead byte cut short by a control code is bad too.
        QCOMPARE(platform::cp932::decode(QByteArray("\x81\x7f"), &ok),
                 QStringLiteral("\uFFFD\x7f"));
        QVERIFY(!ok);

        ok = true;
        const QByteArray out = platform::cp932::encode(QStringLiteral("A한B"), &ok);
        QVERIFY(!ok);
        QCOMPARE(out, QByteArray("A?B"));
    }

    void fieldDecoding()
    {
        char field[16] = {};
        const QByteArray host = platform::cp932::encode(QStringLiteral("ナス"));
        memcpy(field, host.constData(), static_cast<size_t>(host.size()));
        QCOMPARE(discovery::fieldText(field), QStringLiteral("ナス"));
        // A field filled to its last byte without a zero still ends inside it.
        char full[4] = {'a', 'b', 'c', 'd'};
        QCOMPARE(discovery::fieldText(full), QStringLiteral("abcd"));
    }

    // Straight into a fixed buffer: the same bytes as encode(), a lone
    // surrogate or a character outside the table as "?", and a text that
    // does not fit refused with the buffer left all zero.
    void encodingIntoAFixedBuffer()
    {
        const QString text =
            QStringLiteral("Zq7#ナス\u0001;") + QChar(0xD800) + QString::fromUtf8("한\U0001F600");
        char out[32];
        std::memset(out, 'x', sizeof out);
        bool ok = true;
        const qsizetype size = platform::cp932::encodeInto(text, out, sizeof out, &ok);
        QVERIFY(!ok);
        QCOMPARE(QByteArray(out, size), platform::cp932::encode(text));
        QVERIFY(QByteArray(out, size).endsWith(";???"));

        char small[9];
        std::memset(small, 'x', sizeof small);
        QCOMPARE(platform::cp932::encodeInto(text, small, sizeof small), -1);
        QCOMPARE(QByteArray(small, sizeof small), QByteArray(sizeof small, '\0'));
    }
};

QTEST_GUILESS_MAIN(Cp932Test)
#include "Cp932Test.moc"
