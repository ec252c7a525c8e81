// The settings dialog in-process: start values, modes, validation and the
// setup exchange against a fake unit on loopback. The free-address search,
// which is timed, is Form3SearchTest.

#include "discovery/core/Messages.h"
#include "tests/gui/settings/Form3Fixture.h"

#include <QTest>

#ifdef Q_OS_LINUX
#include <fstream>
#include <unistd.h>
#endif

using namespace form3test;

class Form3Test : public QObject
{
    Q_OBJECT

private slots:
    void layout();
    void opening_data();
    void opening();
    void reopening();
    void typingIntoAddress();
    void modeSwitch_data();
    void modeSwitch();
    void validation_data();
    void validation();
    void exchange_data();
    void exchange();
    void keyboardAlone();
    void heldReturnFromElsewhere();
    void busyState();
    void reservedReplyPort();
};

void Form3Test::layout()
{
    Fixture f(true);
    QCOMPARE(f.form->windowTitle(), text("設定"));
    QCOMPARE(f.form->size(), QSize(328, 278));
    QVERIFY(!(f.form->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(f.form->windowFlags() & Qt::WindowSystemMenuHint));
    // Character heights are pixels, whatever the form description's point sizes.
    QCOMPARE(f.child<QRadioButton>("RBtnAutoAssignIP")->font().pixelSize(), 15);
    QCOMPARE(f.child<QLineEdit>("Edit1")->font().pixelSize(), 13);
    // Tab order among the dialog's own controls: buttons, then the credentials.
    QStringList order;
    for (QWidget* w = f.child<QWidget>("IPAddressControl"); order.size() < 9;
         w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().startsWith("qt_") &&
            w->parentWidget() &&
            (w->parentWidget() == f.form || w->parentWidget()->objectName() == "GroupBox1"))
            order << w->objectName();
    }
    QCOMPARE(order, QStringList({"IPAddressControl", "MaskAddressControl", "GatewayAddressControl",
                                 "RBtnAutoAssignIP", "RBtnManualSetupIP", "Button1", "Button2",
                                 "Edit1", "Edit2"}));
    // Made hidden, as at start-up.
    QVERIFY(!f.form->isVisible());
}

void Form3Test::opening_data()
{
    QTest::addColumn<bool>("otherSubnet");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<bool>("autoEnabled");
    QTest::addColumn<bool>("fieldsEnabled");
    QTest::addColumn<QString>("fields");

    QTest::newRow("unit outside the subnet")
        << true << true << true << false << "0.0.0.0 0.0.0.0 0.0.0.0";
    QTest::newRow("unit inside the subnet")
        << false << false << false << true << "192.168.1.1 255.255.255.0 192.168.1.1";
}

void Form3Test::opening()
{
    QFETCH(bool, otherSubnet);
    QFETCH(bool, automatic);
    QFETCH(bool, autoEnabled);
    QFETCH(bool, fieldsEnabled);
    QFETCH(QString, fields);

    Fixture f(otherSubnet);
    f.form->show();
    QCOMPARE(f.child<QRadioButton>("RBtnAutoAssignIP")->isChecked(), automatic);
    QCOMPARE(f.child<QRadioButton>("RBtnManualSetupIP")->isChecked(), !automatic);
    QCOMPARE(f.child<QRadioButton>("RBtnAutoAssignIP")->isEnabled(), autoEnabled);
    QVERIFY(f.child<QRadioButton>("RBtnManualSetupIP")->isEnabled());
    for (const char* name : {"IPAddressControl", "MaskAddressControl", "GatewayAddressControl",
                             "LBIPAddr", "LBNetMask", "LBGateWay"})
        QCOMPARE(f.child<QWidget>(name)->isEnabled(), fieldsEnabled);
    QCOMPARE(f.fieldsText(), fields);
    QVERIFY(f.child<QLineEdit>("Edit1")->text().isEmpty());
    QVERIFY(f.child<platform::SecretEdit>("Edit2")->isEmpty());
    QCOMPARE(f.form->focusWidget(), f.child<QWidget>("Button1"));
    QVERIFY(f.idleButtons());
    QCOMPARE(f.form->Timer2()->interval(), 300);
    QCOMPARE(QByteArray(f.form->NewAddress()), QByteArray("192.168.1.37"));
}

// The dialog lives on between openings; only the start values are reset.
void Form3Test::reopening()
{
    Fixture f(false);
    MessageBoxCatcher boxes;
    f.form->show();
    f.control("IPAddressControl")->SetIPAddr(QStringLiteral("192.168.1.99"));
    QTest::keyClicks(f.child<QLineEdit>("Edit1"), QStringLiteral("admin"));
    QTest::keyClicks(f.child<platform::SecretEdit>("Edit2"), QStringLiteral("secret"));
    QCOMPARE(f.child<platform::SecretEdit>("Edit2")->characterCount(), 6u);
    QTest::mouseClick(f.child<QPushButton>("Button2"), Qt::LeftButton);
    QCOMPARE(f.form->result(), int(QDialog::Rejected));
    QVERIFY(!f.form->isVisible());
    QVERIFY(f.unit.requests.isEmpty());
    QVERIFY(noTypedTextLeft(f.child<QLineEdit>("Edit1")));
    QVERIFY(noTypedTextLeft(f.child<platform::SecretEdit>("Edit2")));

    f.form->show();
    QVERIFY(f.child<QLineEdit>("Edit1")->text().isEmpty());
    QVERIFY(f.child<platform::SecretEdit>("Edit2")->isEmpty());
    // Manual mode was already checked: the typed address stays.
    QCOMPARE(f.control("IPAddressControl")->GetIPAddr(), QStringLiteral("192.168.1.99"));
    QVERIFY(boxes.boxes().isEmpty());

    // The window manager's close while idle is Cancel: nothing sent, nothing kept.
    QTest::keyClicks(f.child<platform::SecretEdit>("Edit2"), QStringLiteral("secret"));
    f.form->setResult(QDialog::Accepted);
    QVERIFY(f.form->close());
    QCOMPARE(f.form->result(), int(QDialog::Rejected));
    QVERIFY(f.unit.requests.isEmpty());
    QVERIFY(noTypedTextLeft(f.child<platform::SecretEdit>("Edit2")));
    f.form->show();

    // The same dialog now opened for a unit outside the subnet.
    f.table.record(1)->OtherSubnet = 1;
    f.form->hide();
    f.form->show();
    QVERIFY(f.child<QRadioButton>("RBtnAutoAssignIP")->isChecked());
    QCOMPARE(f.fieldsText(), QStringLiteral("0.0.0.0 0.0.0.0 0.0.0.0"));
}

// A person clicks into the last octet and types: the focus stays in that octet.
void Form3Test::typingIntoAddress()
{
    Fixture f(false);
    f.form->show();
    f.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.form));
    const auto fields = f.control("IPAddressControl")->findChildren<QLineEdit*>();
    QCOMPARE(fields.size(), 4);
    QLineEdit* last = fields[3];
    for (QLineEdit* field : fields)
        if (field->x() > last->x())
            last = field;
    QTest::mouseClick(last, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), last);
    QTest::keyClick(last, Qt::Key_End);
    QTest::keyClick(last, Qt::Key_Backspace);
    QTest::keyClicks(last, QStringLiteral("77"));
    QCOMPARE(QApplication::focusWidget(), last);
    QCOMPARE(f.control("IPAddressControl")->GetIPAddr(), QStringLiteral("192.168.1.77"));
}

void Form3Test::modeSwitch_data()
{
    QTest::addColumn<QString>("pcAddress");
    QTest::addColumn<QString>("pcMask");
    QTest::addColumn<QString>("fields");

    QTest::newRow("/24") << "192.168.1.37"
                         << "255.255.255.0"
                         << "192.168.1.1 255.255.255.0 192.168.1.1";
    QTest::newRow("/16") << "192.168.1.37"
                         << "255.255.0.0"
                         << "192.168.0.1 255.255.0.0 192.168.1.1";
    QTest::newRow("/25 upper half") << "192.168.1.200"
                                    << "255.255.255.128"
                                    << "192.168.1.1 255.255.255.128 192.168.1.1";
}

void Form3Test::modeSwitch()
{
    QFETCH(QString, pcAddress);
    QFETCH(QString, pcMask);
    QFETCH(QString, fields);

    Fixture f(true, qPrintable(pcAddress), qPrintable(pcMask));
    f.form->show();
    QTest::mouseClick(f.child<QRadioButton>("RBtnManualSetupIP"), Qt::LeftButton);
    QCOMPARE(f.fieldsText(), fields);
    QVERIFY(f.control("IPAddressControl")->isEnabled());
    QVERIFY(f.child<QLabel>("LBIPAddr")->isEnabled());

    // Back to automatic: fields emptied to zeros and disabled; to manual again:
    // filled anew, whatever was typed.
    f.control("GatewayAddressControl")->SetIPAddr(QStringLiteral("10.9.9.9"));
    f.child<QRadioButton>("RBtnAutoAssignIP")->setChecked(true);
    QCOMPARE(f.fieldsText(), QStringLiteral("0.0.0.0 0.0.0.0 0.0.0.0"));
    QVERIFY(!f.control("MaskAddressControl")->isEnabled());
    f.child<QRadioButton>("RBtnManualSetupIP")->setChecked(true);
    QCOMPARE(f.fieldsText(), fields);
}

void Form3Test::validation_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<QString>("message");

    QTest::newRow("loopback address") << "127.0.0.5"
                                      << "255.0.0.0"
                                      << "127.0.0.1" << text(settings::messages::kBadAddress);
    QTest::newRow("host part zero") << "192.168.1.0"
                                    << "255.255.255.0"
                                    << "192.168.1.1" << text(settings::messages::kBadAddress);
    QTest::newRow("broken mask") << "192.168.1.50"
                                 << "255.0.255.0"
                                 << "192.168.1.1" << text(settings::messages::kBadMask);
    QTest::newRow("gateway outside") << "192.168.1.50"
                                     << "255.255.255.0"
                                     << "192.168.2.1" << text(settings::messages::kBadGateway);
}

void Form3Test::validation()
{
    QFETCH(QString, address);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(QString, message);

    Fixture f(false);
    MessageBoxCatcher boxes;
    f.form->show();
    f.setManual(qPrintable(address), qPrintable(mask), qPrintable(gateway));
    f.child<QLineEdit>("Edit1")->setText(QStringLiteral("admin"));
    QTest::mouseClick(f.child<QPushButton>("Button1"), Qt::LeftButton);

    QCOMPARE(boxes.texts(), QStringList{message});
    QCOMPARE(boxes.boxes().first().title, text("エラー"));
    QVERIFY(!boxes.boxes().first().hadParent);
    QCOMPARE(boxes.boxes().first().buttons, 1);
    // Everything as typed, nothing sent, still open and idle.
    QCOMPARE(f.fieldsText(), address + " " + mask + " " + gateway);
    QCOMPARE(f.child<QLineEdit>("Edit1")->text(), QStringLiteral("admin"));
    QVERIFY(f.form->isVisible());
    QVERIFY(f.idleButtons());
    QVERIFY(f.requestsBeforeMarker().isEmpty());
    QVERIFY(f.prober->asked.empty());
}

void Form3Test::exchange_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("holdPort");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("requests");

    const QByteArray id(kIdentity);
    QTest::newRow("accepted") << "0C02R" + id + "2tail"
                              << "pw" << false << "OK" << text("NASセットアップ成功") << 1;
    QTest::newRow("refused") << "0C02R" + id + "0"
                             << "wrong" << false << "Error" << text("NASセットアップ失敗") << 1;
    QTest::newRow("only foreign replies: time-out")
        << QByteArray("0C02R00:11:22:AA:BB:CD2") << "pw" << false << "Error"
        << text("NASセットアップ失敗") << 1;
    QTest::newRow("no answer: time-out")
        << QByteArray() << "pw" << false << "Error" << text("NASセットアップ失敗") << 1;
    QTest::newRow("credentials too long")
        << QByteArray() << QString(1100, 'p') << false << text("エラー")
        << text(settings::messages::kCredentialsTooLong) << 0;
    QTest::newRow("reply port in use") << QByteArray() << "pw" << true << text("エラー")
                                       << text("UDPポート12310を使用できません。\n他のプログラムが"
                                               "使用していないか確認してください。")
                                       << 0;
}

void Form3Test::exchange()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, password);
    QFETCH(bool, holdPort);
    QFETCH(QString, title);
    QFETCH(QString, message);
    QFETCH(int, requests);

    Fixture f(false);
    f.unit.answer = answer;
    QUdpSocket holder;
    if (holdPort)
        QVERIFY(holder.bind(QHostAddress::LocalHost, f.unit.replyPort));
    MessageBoxCatcher boxes;
    f.form->show();
    f.form->Timer1()->setInterval(400); // the 30 s wait, shortened
    QTest::keyClicks(f.child<QLineEdit>("Edit1"), QStringLiteral("admin"));
    QTest::keyClicks(f.child<platform::SecretEdit>("Edit2"), password);
    QTest::mouseClick(f.child<QPushButton>("Button1"), Qt::LeftButton);

    // A held port's message goes on to name its holder (this test) where the system tells.
    QTRY_COMPARE(boxes.texts().size(), 1);
    const QString shown = boxes.texts().first();
    QVERIFY2(shown == message || (holdPort && shown.startsWith(message + "\n")), qPrintable(shown));
    QCOMPARE(boxes.boxes().first().title, title);
    QVERIFY(!boxes.boxes().first().hadParent);
    QCOMPARE(f.unit.requests.size(), requests);
    QVERIFY(!f.form->exchange().isOpen());
    QCOMPARE(f.form->phase(), Form3::Phase::Idle);
    const bool success = title == QLatin1String("OK");
    QTRY_COMPARE(f.form->isVisible(), !success);
    if (success) {
        QCOMPARE(f.form->result(), int(QDialog::Accepted));
        // The closed dialog holds no credentials until it opens again.
        QVERIFY(noTypedTextLeft(f.child<QLineEdit>("Edit1")));
        QVERIFY(noTypedTextLeft(f.child<platform::SecretEdit>("Edit2")));
        return;
    }
    QVERIFY(f.idleButtons());
    QCOMPARE(f.child<QProgressBar>("ProgressBar1")->value(), 0);
    if (requests > 0)
        QCOMPARE(f.form->Timer1()->interval(), 30000);
    // The field takes at most a request's worth; what it took stays as typed.
    QCOMPARE(f.child<platform::SecretEdit>("Edit2")->text().toString(),
             password.left(qsizetype(platform::SecretEdit::kCapacity)));
    QCOMPARE(f.form->focusWidget(), f.child<QWidget>("Button1"));
}

// The arrow keys switch the mode and leave the focus in the address, ready
// to be typed over; Return presses the focused button.
void Form3Test::keyboardAlone()
{
    Fixture f(true);
    MessageBoxCatcher boxes;
    f.form->show();
    QVERIFY(QTest::qWaitForWindowActive(f.form));
    auto* automatic = f.child<QRadioButton>("RBtnAutoAssignIP");
    automatic->setFocus(Qt::TabFocusReason);
    QTest::keyClick(automatic, Qt::Key_Down);
    QTRY_VERIFY(f.child<QRadioButton>("RBtnManualSetupIP")->isChecked());
    QTRY_VERIFY(f.control("IPAddressControl")->isAncestorOf(QApplication::focusWidget()));
    const auto* first = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(first && first->selectedText() == first->text() && !first->text().isEmpty());

    QTest::keyClicks(f.child<QLineEdit>("Edit1"), QStringLiteral("admin"));
    auto* ok = f.child<QPushButton>("Button1");
    ok->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ok, Qt::Key_Return);
    QTRY_COMPARE(f.unit.requests.size(), 1);
}

// A Return pressed in another window whose release never came (a tool sent
// the press to a result box that closed on it) repeats into the dialog
// opened next: the repeats press nothing, typing works, and the next real
// press sends one request, which the refusal ends.
void Form3Test::heldReturnFromElsewhere()
{
    Fixture f(false);
    f.unit.answer = "0C02R" + QByteArray(kIdentity) + "0";
    MessageBoxCatcher boxes;
    f.form->show();
    QVERIFY(QTest::qWaitForWindowActive(f.form));
    const auto sendReturn = [window = f.form->windowHandle()](QEvent::Type type, bool repeat,
                                                              quint64 time) {
        QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), repeat);
        key.setTimestamp(time);
        QApplication::sendEvent(window, &key);
    };
    for (quint64 time = 700; time < 1000; time += 40) {
        sendReturn(QEvent::KeyRelease, true, time);
        sendReturn(QEvent::KeyPress, true, time);
    }
    // A repeat whose release and press reached the program apart.
    sendReturn(QEvent::KeyRelease, false, 1040);
    sendReturn(QEvent::KeyPress, false, 1040);
    QTest::keyClicks(f.child<QLineEdit>("Edit1"), QStringLiteral("admin"));
    QCOMPARE(f.child<QLineEdit>("Edit1")->text(), QStringLiteral("admin"));
    QVERIFY(f.requestsBeforeMarker().isEmpty());
    QVERIFY(f.idleButtons());

    f.unit.requests.clear();
    sendReturn(QEvent::KeyRelease, false, 1100);
    QTest::keyClick(f.child<QPushButton>("Button1"), Qt::Key_Return);
    QTRY_COMPARE(boxes.texts(), QStringList{text("NASセットアップ失敗")});
    const QList<QByteArray> sent = f.requestsBeforeMarker();
    QCOMPARE(sent.size(), 1);
    QVERIFY(sent.first().endsWith(";admin;"));
}

// While the answer is awaited the dialog cannot be left or restarted.
void Form3Test::busyState()
{
    Fixture f(false);
    MessageBoxCatcher boxes;
    f.form->show();
    f.form->Timer1()->setInterval(1500);
    QTest::mouseClick(f.child<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(f.form->phase(), Form3::Phase::Awaiting);
    QVERIFY(!f.child<QPushButton>("Button1")->isEnabled());
    QVERIFY(!f.child<QPushButton>("Button2")->isEnabled());
    QVERIFY(f.child<QProgressBar>("ProgressBar1")->isVisible());
    QTest::keyClick(f.form, Qt::Key_Escape);
    f.form->close();
    QVERIFY(f.form->isVisible());
    // The bar moves one step per 300 ms.
    QTRY_VERIFY(f.child<QProgressBar>("ProgressBar1")->value() >= 3);
    QTRY_COMPARE(boxes.texts(), QStringList{text("NASセットアップ失敗")});
    QCOMPARE(f.unit.requests.size(), 1);
}

// A reply port the system reserves has no holder to name: the box says it is
// reserved. Below the first unprivileged port, port 1 is such a port for the
// user nobody, whom the test becomes for the click.
void Form3Test::reservedReplyPort()
{
#ifdef Q_OS_LINUX
    int firstUnprivileged = 0;
    std::ifstream("/proc/sys/net/ipv4/ip_unprivileged_port_start") >> firstUnprivileged;
    if (firstUnprivileged <= 1)
        QSKIP("every port is open to every user here");
    Fixture f(false);
    settings::SetupExchange::Endpoints e;
    e.requestAddress = e.replyAddress = platform::kLoopbackAddress;
    e.requestPort = f.unit.socket.localPort();
    e.replyPort = 1;
    f.form->exchange().setEndpoints(e);
    MessageBoxCatcher boxes;
    f.form->show();
    QTest::keyClicks(f.child<platform::SecretEdit>("Edit2"), QStringLiteral("pw"));
    const uid_t user = geteuid();
    if (user == 0 && seteuid(65534) != 0)
        QSKIP("cannot become nobody");
    QTest::mouseClick(f.child<QPushButton>("Button1"), Qt::LeftButton);
    QVERIFY(user != 0 || seteuid(0) == 0);
    QTRY_COMPARE(boxes.texts(), QStringList{text(discovery::messages::kReplyPortReserved)});
    QVERIFY(f.requestsBeforeMarker().isEmpty());
#else
    QSKIP("the system's reserved ports are found only on Linux here");
#endif
}

QTEST_MAIN(Form3Test)
#include "Form3Test.moc"
