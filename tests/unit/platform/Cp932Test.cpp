// CP932 conversion of unit texts, and field decoding.

#include "platform/net/Cp932.h"

#include "discovery/RecordText.h"

#include <QStringDecoder>
#include <QTest>

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
        // Bytes below 0x80, printable ones alone (read without the converter)
        // and all of them, read as the table has them: it moves 0x1A, 0x1C, 0x7F.
        QByteArray printable, all;
        for (int b = 0; b < 0x80; ++b)
            ((b >= 0x20 && b < 0x7F) ? printable : all).append(char(b));
        all += printable;
        QStringDecoder table("windows-31j", QStringConverter::Flag::Stateless);
        for (const QByteArray& sample : {printable, all})
            if (table.isValid())
                QCOMPARE(platform::cp932::decode(sample, &ok), table.decode(sample));
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
};

QTEST_GUILESS_MAIN(Cp932Test)
#include "Cp932Test.moc"
