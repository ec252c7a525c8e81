// The address control: stored values against the widget, text in and out,
// range errors, ranges, blank state, events, size and the window's life.

#include "widgets/IPAddressControl.h"

#include "tests/gui/widgets/Typing.h"
#include "widgets/core/PackedAddress.h"

#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

using namespace widgets;

namespace {

QString shownAddress(const TIPAddressControl& control)
{
    const std::uint32_t packed = control.addressWidget()->address();
    QStringList bytes;
    for (int i = 0; i < 4; ++i)
        bytes << QString::number(addressByte(packed, i));
    return bytes.join('.');
}

QList<int> storedFields(const TIPAddressControl& control)
{
    return {control.Field0(), control.Field1(), control.Field2(), control.Field3()};
}

// Closes the next modal message box and remembers what it said.
struct ErrorBoxWatcher
{
    QString title;
    QString text;
    int seen = 0;

    void arm()
    {
        QTimer::singleShot(10, [this] { poll(50); });
    }
    void poll(int triesLeft)
    {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            ++seen;
            box->accept();
            return;
        }
        if (triesLeft > 0)
            QTimer::singleShot(20, [this, triesLeft] { poll(triesLeft - 1); });
    }
};

} // namespace

class IPAddressControlTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void beforeTheWindowExists();
    void onceTheWindowExists();
    void dottedTextIn_data();
    void dottedTextIn();
    void rangeErrorWithoutHandler();
    void rangeErrorWithHandler();
    void writesPushOnlyWhatChanged();
    void whatThePersonTyped();
    void blankState();
    void rangesAndTheirWords();
    void rangeNeedsAWindow();
    void enterAndExitFollowTheWidget();
    void keepsItsPlaceInTheTabOrder();
    void failuresInEventsAreShownNotThrown();
    void sizeFromTheFont();
    void windowLifecycle();
    void fieldColours();
    void publishedProperties();

private:
    void showHost();

    QWidget* m_host = nullptr;
    QLineEdit* m_other = nullptr;
    QPointer<TIPAddressControl> m_control;
};

void IPAddressControlTest::init()
{
    m_host = new QWidget;
    m_host->resize(300, 120);
    m_other = new QLineEdit(m_host);
    m_other->setGeometry(10, 10, 100, 22);
    m_control = new TIPAddressControl(m_host);
    m_control->setObjectName("IPAddressControl");
    m_control->move(10, 50);
}

void IPAddressControlTest::cleanup()
{
    // Handlers capture the test's locals; closing the host moves the focus.
    if (m_control) {
        m_control->OnChange = nullptr;
        m_control->OnEnter = nullptr;
        m_control->OnExit = nullptr;
        m_control->OnResize = nullptr;
        m_control->OnRangeError = nullptr;
    }
    delete m_host;
    m_host = nullptr;
}

void IPAddressControlTest::showHost()
{
    m_host->show();
    QVERIFY(QTest::qWaitForWindowActive(m_host));
    QVERIFY(m_control->hasAddressWidget());
}

void IPAddressControlTest::beforeTheWindowExists()
{
    QVERIFY(!m_control->hasAddressWidget());
    QCOMPARE(storedFields(*m_control), (QList<int>{0, 0, 0, 0}));
    QCOMPARE(m_control->IPAddress(), QString());
    QVERIFY(!m_control->Modified());
    QVERIFY(m_control->GetIsBlank());

    // Writes are stored but read back as blank text until the window exists;
    // Modified compares against 0.0.0.0.
    m_control->setIPAddress("192.168.1.10");
    QCOMPARE(storedFields(*m_control), (QList<int>{192, 168, 1, 10}));
    QCOMPARE(m_control->IPAddress(), QString());
    QVERIFY(m_control->Modified());
    m_control->setField3(10); // same value: still taken, nothing to show it in

    showHost();
    QCOMPARE(shownAddress(*m_control), QString("192.168.1.10"));
    QCOMPARE(m_control->IPAddress(), QString("192.168.1.10"));
    QVERIFY(!m_control->Modified());
}

void IPAddressControlTest::onceTheWindowExists()
{
    showHost();
    QCOMPARE(m_control->IPAddress(), QString("0.0.0.0"));
    QVERIFY(!m_control->Modified());
    QVERIFY(!m_control->GetIsBlank());

    m_control->setIPAddress("192.168.1.10");
    QCOMPARE(storedFields(*m_control), (QList<int>{192, 168, 1, 10}));
    QCOMPARE(shownAddress(*m_control), QString("192.168.1.10"));
    QCOMPARE(m_control->IPAddress(), QString("192.168.1.10"));
}

void IPAddressControlTest::dottedTextIn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("stored");
    QTest::addColumn<QString>("readBack");

    // Every row starts from 9.8.7.6.
    QTest::newRow("whole address")
        << "192.168.1.10" << QList<int>{192, 168, 1, 10} << "192.168.1.10";
    QTest::newRow("two parts") << "10.1" << QList<int>{10, 1, 7, 6} << "10.1.7.6";
    QTest::newRow("fifth part ignored") << "1.2.3.4.5" << QList<int>{1, 2, 3, 4} << "1.2.3.4";
    QTest::newRow("hex and signs")
        << " 10.$14.0x1E.+40" << QList<int>{10, 20, 30, 40} << "10.20.30.40";
    QTest::newRow("letter part") << "1.2.x.4" << QList<int>{1, 2, 7, 6} << "";
    QTest::newRow("300 without handler") << "1.2.3.300" << QList<int>{1, 2, 3, 255} << "";
    QTest::newRow("negative") << "1.-1.3.4" << QList<int>{1, 255, 7, 6} << "";
    QTest::newRow("empty text") << "" << QList<int>{9, 8, 7, 6} << "";
    QTest::newRow("two dots in a row") << "1..3.4" << QList<int>{1, 8, 7, 6} << "";
    QTest::newRow("leading dot") << ".1.2.3" << QList<int>{9, 8, 7, 6} << "";
    QTest::newRow("trailing blank") << "1.2.3.4 " << QList<int>{1, 2, 3, 6} << "";
    QTest::newRow("past 32 bits") << "4294967296.1.1.1" << QList<int>{9, 8, 7, 6} << "";
    QTest::newRow("full-width digits")
        << QString::fromUtf8("１.2.3.4") << QList<int>{9, 8, 7, 6} << "";
}

void IPAddressControlTest::dottedTextIn()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, stored);
    QFETCH(QString, readBack);

    showHost();
    m_control->setIPAddress("9.8.7.6");
    m_control->setIPAddress(text); // never throws
    QCOMPARE(storedFields(*m_control), stored);
    QCOMPARE(m_control->IPAddress(), readBack);
    QCOMPARE(m_control->GetIsBlank(), readBack.isEmpty());
    // The fields keep what was stored even when the text read back is blank.
    QCOMPARE(storedFields(*m_control), stored);
}

void IPAddressControlTest::rangeErrorWithoutHandler()
{
    showHost();
    m_control->setIPAddress("1.2.3.4");

    std::optional<std::string> message;
    try {
        m_control->SetFourthIPAddress(300);
    } catch (const ERangeError& e) {
        message = e.message();
    }
    QVERIFY(message);
    QCOMPARE(QString::fromStdString(*message),
             QString::fromUtf8("$12C liegt nicht im g・tigen Bereich zwischen $0..$FF"));
    QCOMPARE(m_control->Field3(), 255);
    QCOMPARE(shownAddress(*m_control), QString("1.2.3.4")); // the widget was not told

    // The whole family is catchable through the common base.
    bool caught = false;
    try {
        m_control->SetSecondIPAddress(-1);
    } catch (const widgets::Exception& e) {
        caught = QString::fromStdString(e.message()).startsWith("$FFFFFFFF liegt");
    }
    QVERIFY(caught);
    QCOMPARE(m_control->Field1(), 255);
}

void IPAddressControlTest::rangeErrorWithHandler()
{
    showHost();
    m_control->setIPAddress("1.2.3.4");
    struct Call
    {
        QObject* sender;
        TIPAddrRange* range;
        int value;
        int field;
    };
    QList<Call> calls;
    m_control->OnRangeError = [&calls](QObject* sender, TIPAddrRange*& range, int value,
                                       int field) {
        calls << Call{sender, range, value, field};
    };

    m_control->SetFourthIPAddress(300);
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].sender, static_cast<QObject*>(m_control));
    QCOMPARE(calls[0].range, m_control->RangeFiled3());
    QCOMPARE(calls[0].value, 300);
    QCOMPARE(calls[0].field, 4);
    // The value is taken, and packing carries it into the third field.
    QCOMPARE(m_control->Field3(), 300);
    QCOMPARE(shownAddress(*m_control), QString("1.2.4.44"));
    QVERIFY(m_control->Modified());
    QCOMPARE(m_control->IPAddress(), QString("1.2.4.44"));
    QCOMPARE(storedFields(*m_control), (QList<int>{1, 2, 4, 44}));
    QVERIFY(!m_control->Modified());

    // A text write goes through the handler too and is not blanked.
    m_control->setIPAddress("1.2.3.256");
    QCOMPARE(calls.size(), 2);
    QCOMPARE(m_control->IPAddress(), QString("1.2.4.0"));

    // The handler may narrow the field's own range: later tests use it.
    // Putting another object in its variable changes nothing.
    TIPAddrRange other(0, 1);
    m_control->OnRangeError = [&](QObject*, TIPAddrRange*& range, int, int) {
        range->setUpperLimit(100);
        range = &other;
    };
    m_control->SetFirstIPAddress(260);
    QCOMPARE(m_control->RangeField0()->GetIPRange(2), 100);
    QCOMPARE(int(other.UpperLimit()), 1);
    m_control->OnRangeError = nullptr;
    QVERIFY_THROWS_EXCEPTION(ERangeError, m_control->SetFirstIPAddress(101));
    m_control->SetFirstIPAddress(100);
    QCOMPARE(m_control->Field0(), 100);
}

void IPAddressControlTest::writesPushOnlyWhatChanged()
{
    showHost();
    m_control->setIPAddress("1.2.3.4");
    // The person types into the last field; the widget has not reported it.
    addressField(m_control, 3)->setFocus();
    addressField(m_control, 3)->selectAll();
    typeKeys("9");
    QCOMPARE(shownAddress(*m_control), QString("1.2.3.9"));
    QCOMPARE(m_control->Field3(), 4);

    m_control->SetFirstIPAddress(1); // same value, not blank: nothing is sent
    QCOMPARE(shownAddress(*m_control), QString("1.2.3.9"));

    m_control->SetIsBlank(true);
    m_control->SetFirstIPAddress(1); // same value while blank: the whole address again
    QCOMPARE(fieldTexts(m_control), (QStringList{"1", "2", "3", "4"}));
}

void IPAddressControlTest::whatThePersonTyped()
{
    showHost();
    int changes = 0;
    m_control->OnChange = [&changes](QObject*) { ++changes; };
    m_control->setIPAddress("192.168.1.10");
    QVERIFY(changes > 0); // what is shown changed
    changes = 0;

    addressField(m_control, 3)->setFocus(Qt::MouseFocusReason);
    addressField(m_control, 3)->selectAll();
    typeKeys("77");
    QCOMPARE(changes, 2);
    QVERIFY(m_control->Modified());
    QCOMPARE(m_control->IPAddress(), QString("192.168.1.77")); // pulled
    QVERIFY(!m_control->Modified());
    QCOMPARE(m_control->Field3(), 77);

    // Leaving a typed field reports it: the stored value follows, no pull.
    addressField(m_control, 0)->setFocus(Qt::MouseFocusReason);
    addressField(m_control, 0)->selectAll();
    typeKeys("10.");
    QCOMPARE(m_control->Field0(), 10);
    QVERIFY(!m_control->Modified());

    // Emptying every field leaves nothing to read.
    for (int i = 0; i < 4; ++i) {
        addressField(m_control, i)->setFocus();
        addressField(m_control, i)->selectAll();
        pressKey(Qt::Key_Delete);
    }
    QVERIFY(m_control->GetIsBlank());
    QCOMPARE(m_control->IPAddress(), QString());
}

void IPAddressControlTest::blankState()
{
    showHost();
    m_control->setIPAddress("5.6.7.8");
    m_control->SetIsBlank(false); // does nothing
    QCOMPARE(m_control->IPAddress(), QString("5.6.7.8"));

    m_control->SetIsBlank(true);
    QVERIFY(m_control->GetIsBlank());
    QCOMPARE(m_control->IPAddress(), QString());
    QCOMPARE(storedFields(*m_control), (QList<int>{5, 6, 7, 8})); // kept

    m_control->setField2(70); // any push leaves the blank state
    QVERIFY(!m_control->GetIsBlank());
    QCOMPARE(m_control->IPAddress(), QString("5.6.70.8"));

    // A partly empty address is not blank; its empty field reads as 0.
    addressField(m_control, 1)->setFocus();
    addressField(m_control, 1)->selectAll();
    pressKey(Qt::Key_Delete);
    QVERIFY(!m_control->GetIsBlank());
    QCOMPARE(m_control->IPAddress(), QString("5.0.70.8"));
}

void IPAddressControlTest::rangesAndTheirWords()
{
    TIPAddrRange classful(1, 223);
    TIPAddrRange narrow(5, 6);
    QVERIFY(m_control->RangeField0() != nullptr);
    QCOMPARE(m_control->RangeField0()->GetIPRange(1), 0);
    QCOMPARE(m_control->RangeField0()->GetIPRange(2), 255);

    // Assigning needs the window and makes it, even before showing.
    m_control->setRangeField0(&classful);
    QVERIFY(m_control->hasAddressWidget());
    QCOMPARE(m_control->RangeField0(), &classful);
    m_control->setRangeFiled1(&narrow);
    QCOMPARE(m_control->RangeField0(), &classful); // untouched
    QCOMPARE(m_control->RangeFiled1(), &narrow);
    QVERIFY(m_control->RangeField2() != m_control->RangeFiled3());

    // The widget now keeps typed values within 1..223 and 5..6.
    showHost();
    addressField(m_control, 0)->setFocus();
    addressField(m_control, 0)->selectAll();
    typeKeys("250");
    QCOMPARE(addressField(m_control, 0)->text(), QString("223"));
    typeKeys("9.");
    QCOMPARE(addressField(m_control, 1)->text(), QString("6"));

    // A later limit change acts on the control's own tests at once, but the
    // widget keeps the limits it was sent.
    classful.setUpperLimit(100);
    QVERIFY_THROWS_EXCEPTION(ERangeError, m_control->SetFirstIPAddress(150));
    addressField(m_control, 0)->setFocus();
    addressField(m_control, 0)->selectAll();
    typeKeys("200");
    QCOMPARE(addressField(m_control, 0)->text(), QString("200"));
    // Writes below the lower limit are range errors as well.
    QVERIFY_THROWS_EXCEPTION(ERangeError, m_control->SetSecondIPAddress(4));
}

void IPAddressControlTest::rangeNeedsAWindow()
{
    TIPAddressControl lonely;
    lonely.setObjectName("lonely");
    TIPAddrRange range(1, 2);
    TIPAddrRange* before = lonely.RangeFiled3();
    std::optional<QString> message;
    try {
        lonely.setRangeFiled3(&range);
    } catch (const EInvalidOperation& e) {
        message = QString::fromStdString(e.message());
    }
    QCOMPARE(message, std::optional<QString>("Control 'lonely' has no parent window"));
    QCOMPARE(lonely.RangeFiled3(), before);
    QVERIFY(!lonely.hasAddressWidget());
    lonely.setRangeFiled3(before); // the range it has: nothing to do, no window needed
}

void IPAddressControlTest::enterAndExitFollowTheWidget()
{
    QStringList events;
    // As the settings dialog does: entering focuses the same control again.
    m_control->OnEnter = [&](QObject* s) {
        events << (s == m_control ? "enter" : "?");
        m_control->setFocus();
    };
    m_control->OnExit = [&](QObject* s) { events << (s == m_control ? "exit" : "?"); };
    showHost();
    m_other->setFocus();
    events.clear();

    QTest::mouseClick(addressField(m_control, 2), Qt::LeftButton);
    QCOMPARE(events, QStringList{"enter"});
    QCOMPARE(focusedField(m_control), 2); // the caret stays where the click put it
    addressField(m_control, 0)->setFocus(Qt::MouseFocusReason);
    QCOMPARE(events, QStringList{"enter"}); // inside the address: no event
    m_other->setFocus(Qt::MouseFocusReason);
    QCOMPARE(events, (QStringList{"enter", "exit"}));
    pressKey(Qt::Key_Tab);
    QCOMPARE(events, (QStringList{"enter", "exit", "enter"}));
    QCOMPARE(focusedField(m_control), 0);
    addressField(m_control, 3)->setFocus(Qt::MouseFocusReason);
    m_control->setFocus(); // already inside: nothing new
    QCOMPARE(events.size(), 3);
    QCOMPARE(focusedField(m_control), 3);
    m_other->setFocus();
    m_control->setFocus(); // from outside: the first field
    QCOMPARE(focusedField(m_control), 0);
}

void IPAddressControlTest::keepsItsPlaceInTheTabOrder()
{
    // As a compiled form does it: all controls made, then the tab order set,
    // and only then the window shown (and the address widget made).
    QWidget form;
    auto* first = new QLineEdit(&form);
    auto* last = new QLineEdit(&form);
    auto* address = new TIPAddressControl(&form);
    auto* noStop = new TIPAddressControl(&form);
    noStop->setTabStop(false);
    QWidget::setTabOrder(first, address);
    QWidget::setTabOrder(address, noStop);
    QWidget::setTabOrder(noStop, last);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    first->setFocus();
    pressKey(Qt::Key_Tab);
    QCOMPARE(focusedField(address), 0);
    pressKey(Qt::Key_Tab);
    QVERIFY(last->hasFocus()); // past the control that is no tab stop
    pressKey(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focusedField(address), 0);
    pressKey(Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(first->hasFocus());
    // Not a tab stop, but a click still gives it the focus.
    QTest::mouseClick(addressField(noStop, 1), Qt::LeftButton);
    QCOMPARE(focusedField(noStop), 1);

    // Turned off while its third field has the focus: Tab passes it by.
    QTest::mouseClick(addressField(address, 2), Qt::LeftButton);
    address->setTabStop(false);
    first->setFocus();
    pressKey(Qt::Key_Tab);
    QVERIFY(last->hasFocus());
}

void IPAddressControlTest::failuresInEventsAreShownNotThrown()
{
    // Shown on its own, the control cannot make its widget: the failure
    // appears in the error box instead of crossing Qt's event loop.
    ErrorBoxWatcher watcher;
    watcher.arm();
    {
        TIPAddressControl top;
        top.setObjectName("top");
        top.show();
        QTRY_COMPARE(watcher.seen, 1);
        QVERIFY(!top.hasAddressWidget());
    }
    QCOMPARE(watcher.text, QString("Control 'top' has no parent window"));
    QCOMPARE(watcher.title, QGuiApplication::applicationDisplayName());

    // A handler that throws while the widget reports a change.
    showHost();
    m_control->OnChange = [this](QObject*) { m_control->SetFourthIPAddress(999); };
    ErrorBoxWatcher second;
    second.arm();
    addressField(m_control, 3)->setFocus();
    addressField(m_control, 3)->selectAll();
    typeKeys("5");
    QTRY_COMPARE(second.seen, 1);
    QVERIFY(second.text.startsWith("$3E7 liegt nicht"));
    QCOMPARE(addressField(m_control, 3)->text(), QString("5"));
}

void IPAddressControlTest::sizeFromTheFont()
{
    QCOMPARE(m_control->size(), QSize(121, 25));
    int resizes = 0;
    m_control->OnResize = [&resizes](QObject*) { ++resizes; };
    showHost();

    // As a form applies it: stored size first, then the font, which wins
    // even with AutoSize off.
    m_control->setGeometry(176, 18, 121, 23);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    resizes = 0;
    m_control->setFont(font);
    const QFontMetrics metrics(font);
    int widest = 0;
    for (char c = '0'; c <= '9'; ++c)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(c)));
    const QSize adjusted((widest + 8) * 8, metrics.height() + 8);
    QCOMPARE(m_control->size(), adjusted);
    QVERIFY(resizes >= 1);
    QCOMPARE(m_control->addressWidget()->size(), adjusted); // the widget follows
    QCOMPARE(addressField(m_control, 0)->font().pixelSize(), 12);

    // AutoSize on: the height is the font's, and Adjust runs at once.
    m_control->resize(300, 60);
    QCOMPARE(m_control->sizePolicy().verticalPolicy(), QSizePolicy::Preferred);
    m_control->setAutoSize(true);
    QCOMPARE(m_control->size(), adjusted);
    QCOMPARE(m_control->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    m_control->setAutoSize(false);
    QCOMPARE(m_control->sizePolicy().verticalPolicy(), QSizePolicy::Preferred);
}

void IPAddressControlTest::windowLifecycle()
{
    TIPAddrRange range(1, 50);
    showHost();
    m_control->setIPAddress("10.20.30.40");
    m_control->setRangeField2(&range);

    m_control->destroyAddressWidget();
    QVERIFY(!m_control->hasAddressWidget());
    QCOMPARE(m_control->IPAddress(), QString()); // blank without a window
    QCOMPARE(storedFields(*m_control), (QList<int>{10, 20, 30, 40}));
    QVERIFY(m_control->Modified());
    m_control->setField0(11); // stored, nothing to push
    QCOMPARE(m_control->Field0(), 11);

    // A new window shows the stored values and keeps the assigned limits.
    m_control->ensureAddressWidget();
    QCOMPARE(m_control->IPAddress(), QString("11.20.30.40"));
    QTRY_VERIFY(addressField(m_control, 2)->isVisible());
    addressField(m_control, 2)->setFocus();
    addressField(m_control, 2)->selectAll();
    typeKeys("99");
    QCOMPARE(addressField(m_control, 2)->text(), QString("50"));

    // Taking the control out of its parent destroys the window.
    m_control->setParent(nullptr);
    QVERIFY(!m_control->hasAddressWidget());
    QCOMPARE(m_control->Field0(), 11);
    delete m_control; // not owned by the host any more
}

void IPAddressControlTest::fieldColours()
{
    showHost();
    QCOMPARE(m_control->Color(), m_control->palette().color(QPalette::Base));
    m_control->setColor(QColor(255, 255, 0));
    m_control->setFontColor(QColor(0, 0, 255));
    QCOMPARE(m_control->fontColor(), QColor(0, 0, 255));
    const QImage image = addressField(m_control, 1)->grab().toImage();
    QCOMPARE(image.pixelColor(1, 1), QColor(255, 255, 0));
    // Blue text on yellow: some pixel clearly blue (Windows smooths glyph
    // edges, so a stroke need not hold the pure colour anywhere).
    bool blueText = false;
    for (int y = 0; y < image.height() && !blueText; ++y)
        for (int x = 0; x < image.width() && !blueText; ++x) {
            const QColor c = image.pixelColor(x, y);
            blueText = c.blue() - std::max(c.red(), c.green()) > 100;
        }
    QVERIFY(blueText);
}

void IPAddressControlTest::publishedProperties()
{
    showHost();
    QVERIFY(m_control->setProperty("IPAddress", "172.16.5.4"));
    QCOMPARE(m_control->property("Field1").toInt(), 16);
    QVERIFY(m_control->setProperty("Field3", 9));
    QCOMPARE(m_control->property("IPAddress").toString(), QString("172.16.5.9"));
    QCOMPARE(m_control->property("Modified").toBool(), false);
    QVERIFY(m_control->setProperty("AutoSize", true));
    QVERIFY(m_control->AutoSize());
}

QTEST_MAIN(IPAddressControlTest)
#include "IPAddressControlTest.moc"
