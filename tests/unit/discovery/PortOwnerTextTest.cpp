// The names of a port's holder, which another process chose, as a message
// shows them: bounded, nothing hidden, nothing reordered.

#include "discovery/core/Messages.h"

#include <QTest>

class PortOwnerTextTest : public QObject
{
    Q_OBJECT

private slots:
    void named_data();
    void named();
};

void PortOwnerTextTest::named_data()
{
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<QByteArray>("added");

    QTest::newRow("both") << QByteArray("nobody") << QByteArray("python3")
                          << QByteArray("\n使用中のプログラム: python3\n使用中のユーザー: nobody");
    QTest::newRow("user only") << QByteArray("1001") << QByteArray()
                               << QByteArray("\n使用中のユーザー: 1001");
    QTest::newRow("neither") << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("controls, direction marks, broken UTF-8")
        << QByteArray("a\nb\x7f") << QByteArray("x\xe2\x80\xaey\xc3z\xc2\x85")
        << QByteArray("\n使用中のプログラム: x?y?z?\n使用中のユーザー: a?b?");
    QTest::newRow("cut at 64 bytes, whole characters")
        << QByteArray() << QByteArray("p") + QByteArray("名").repeated(30)
        << QByteArray("\n使用中のプログラム: p") + QByteArray("名").repeated(21);
}

void PortOwnerTextTest::named()
{
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, program);
    QFETCH(QByteArray, added);
    const std::string text =
        discovery::messages::withPortOwner("M", {user.constData(), std::size_t(user.size())},
                                           {program.constData(), std::size_t(program.size())});
    QCOMPARE(QByteArray::fromStdString(text), "M" + added);
}

QTEST_APPLESS_MAIN(PortOwnerTextTest)
#include "PortOwnerTextTest.moc"
