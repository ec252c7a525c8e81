// The four-field address widget as its owner and a person use it.

#include "widgets/FourFieldAddressWidget.h"

#include "tests/gui/widgets/Typing.h"
#include "widgets/core/PackedAddress.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <cstdint>

using widgets::FourFieldAddressWidget;

namespace {
constexpr std::uint32_t kAddress = (192u << 24) | (168u << 16) | (1u << 8) | 10u;
}

class FourFieldAddressWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ownerOperations();
    void typing_data();
    void typing();
    void backspaceAndArrowsCrossFields();
    void typedValuesKeepLimits();
    void pasting_data();
    void pasting();
    void pastingFromTheContextMenu();
    void fieldChangedOnLeavingAField();
    void focusForTheWidgetAsAWhole();
    void tabTreatsTheAddressAsOneStop();
    void fieldColoursComeFromTheOwner();

private:
    void focusFirstField();

    QWidget* m_window = nullptr;
    FourFieldAddressWidget* m_widget = nullptr;
    QLineEdit* m_before = nullptr;
    QLineEdit* m_after = nullptr;
};

void FourFieldAddressWidgetTest::init()
{
    m_window = new QWidget;
    auto* layout = new QVBoxLayout(m_window);
    m_before = new QLineEdit(m_window);
    m_widget = new FourFieldAddressWidget(m_window);
    m_widget->setFixedSize(160, 24);
    m_after = new QLineEdit(m_window);
    layout->addWidget(m_before);
    layout->addWidget(m_widget);
    layout->addWidget(m_after);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void FourFieldAddressWidgetTest::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void FourFieldAddressWidgetTest::focusFirstField()
{
    addressField(m_widget, 0)->setFocus(Qt::MouseFocusReason);
    QVERIFY(addressField(m_widget, 0)->hasFocus());
}

void FourFieldAddressWidgetTest::ownerOperations()
{
    QSignalSpy changed(m_widget, &FourFieldAddressWidget::contentChanged);
    QVERIFY(m_widget->isBlank());

    m_widget->setAddress(kAddress);
    QCOMPARE(fieldTexts(m_widget), (QStringList{"192", "168", "1", "10"}));
    QCOMPARE(m_widget->address(), kAddress);
    QVERIFY(!m_widget->isBlank());
    QCOMPARE(changed.count(), 1); // one notice for the whole address
    m_widget->setAddress(kAddress);
    QCOMPARE(changed.count(), 1); // nothing shown changed

    m_widget->setAddress(0);
    QCOMPARE(fieldTexts(m_widget), (QStringList{"0", "0", "0", "0"}));
    QVERIFY(!m_widget->isBlank()); // zeros are shown, not empty

    m_widget->clearAddress();
    QVERIFY(m_widget->isBlank());
    QCOMPARE(fieldTexts(m_widget), (QStringList{"", "", "", ""}));
    QCOMPARE(m_widget->address(), 0u);

    // A partly empty address is not blank; its empty fields read as 0.
    addressField(m_widget, 1)->setText("7");
    QVERIFY(!m_widget->isBlank());
    QCOMPARE(m_widget->address(), 7u << 16);

    // Field indexes outside 0..3 are ignored.
    m_widget->setRange(4, widgets::rangeWord(1, 2));
    m_widget->setRange(-1, widgets::rangeWord(1, 2));
}

void FourFieldAddressWidgetTest::typing_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("focus");

    QTest::newRow("dotted") << "192.168.1.10" << QStringList{"192", "168", "1", "10"} << 3;
    QTest::newRow("short fields") << "1.2.3.4" << QStringList{"1", "2", "3", "4"} << 3;
    // A full field moves on by itself; the "." typed after it is not a skip.
    QTest::newRow("full fields then dots")
        << "192.168.100.200" << QStringList{"192", "168", "100", "200"} << 3;
    QTest::newRow("digits only, no dots")
        << "192168001010" << QStringList{"192", "168", "1", "010"} << 3;
    QTest::newRow("letters refused") << "1a9b.x2" << QStringList{"19", "2", "", ""} << 1;
    QTest::newRow("dot in an empty field stays") << "..5" << QStringList{"5", "", "", ""} << 0;
    QTest::newRow("too big is the upper limit") << "300" << QStringList{"255", "", "", ""} << 1;
    QTest::newRow("empty field stays empty") << "1.2.3." << QStringList{"1", "2", "3", ""} << 3;
    QTest::newRow("fourth field does not spill")
        << "1.2.3.1234" << QStringList{"1", "2", "3", "123"} << 3;
    QTest::newRow("extra dots at the end") << "1.2.3.4..." << QStringList{"1", "2", "3", "4"} << 3;
}

void FourFieldAddressWidgetTest::typing()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, fields);
    QFETCH(int, focus);

    focusFirstField();
    typeKeys(keys);
    QCOMPARE(focusedField(m_widget), focus);
    // Leaving the widget settles the last field ("001" reads as 1).
    m_after->setFocus();
    for (QString& f : fields)
        if (!f.isEmpty())
            f = QString::number(f.toInt());
    QCOMPARE(fieldTexts(m_widget), fields);
}

void FourFieldAddressWidgetTest::backspaceAndArrowsCrossFields()
{
    focusFirstField();
    typeKeys("12.34");
    QCOMPARE(focusedField(m_widget), 1);
    pressKey(Qt::Key_Backspace);
    pressKey(Qt::Key_Backspace);
    QCOMPARE(fieldTexts(m_widget), (QStringList{"12", "", "", ""}));
    pressKey(Qt::Key_Backspace); // at the start of an empty field: back
    QCOMPARE(focusedField(m_widget), 0);
    pressKey(Qt::Key_Backspace); // now it deletes in the first field
    QCOMPARE(fieldTexts(m_widget), (QStringList{"1", "", "", ""}));

    m_widget->setAddress(kAddress);
    focusFirstField();
    addressField(m_widget, 0)->setCursorPosition(0);
    pressKey(Qt::Key_End);
    pressKey(Qt::Key_Right);
    QCOMPARE(focusedField(m_widget), 1);
    QCOMPARE(addressField(m_widget, 1)->cursorPosition(), 0);
    pressKey(Qt::Key_Right);
    pressKey(Qt::Key_Left);
    pressKey(Qt::Key_Left); // at the start: back to the end of the first field
    QCOMPARE(focusedField(m_widget), 0);
    QCOMPARE(addressField(m_widget, 0)->cursorPosition(), 3);
    pressKey(Qt::Key_Left);
    QCOMPARE(focusedField(m_widget), 0);
    // Up and Down stay inside the address instead of walking the window.
    pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Up);
    QCOMPARE(focusedField(m_widget), 0);
    QCOMPARE(m_widget->address(), kAddress);

    // No field before the first, none after the last.
    addressField(m_widget, 0)->setCursorPosition(0);
    pressKey(Qt::Key_Backspace);
    QCOMPARE(focusedField(m_widget), 0);
    addressField(m_widget, 3)->setFocus();
    addressField(m_widget, 3)->end(false);
    pressKey(Qt::Key_Right);
    typeKeys(".");
    QCOMPARE(focusedField(m_widget), 3);
}

void FourFieldAddressWidgetTest::typedValuesKeepLimits()
{
    m_widget->setRange(0, widgets::rangeWord(1, 223));
    m_widget->setRange(1, widgets::rangeWord(100, 200));
    focusFirstField();
    typeKeys("250");
    QCOMPARE(addressField(m_widget, 0)->text(), QString("223"));
    QCOMPARE(focusedField(m_widget), 1);
    // The lower limit waits until the field is left: "1" may become "150".
    typeKeys("1");
    QCOMPARE(addressField(m_widget, 1)->text(), QString("1"));
    typeKeys(".");
    QCOMPARE(addressField(m_widget, 1)->text(), QString("100"));

    // The program may still show any byte: limits are for typing only.
    m_widget->setAddress(0);
    QCOMPARE(fieldTexts(m_widget), (QStringList{"0", "0", "0", "0"}));

    // Upside-down limits still give a usable field.
    m_widget->setRange(2, widgets::rangeWord(200, 10));
    addressField(m_widget, 2)->setFocus();
    addressField(m_widget, 2)->selectAll();
    typeKeys("99");
    QCOMPARE(addressField(m_widget, 2)->text(), QString("99"));
    typeKeys("9");
    QCOMPARE(addressField(m_widget, 2)->text(), QString("200"));
}

void FourFieldAddressWidgetTest::pasting_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("dotted address") << "10.20.30.40" << QStringList{"10", "20", "30", "40"};
    QTest::newRow("with blanks around") << "  172.16.0.1\n" << QStringList{"172", "16", "0", "1"};
    QTest::newRow("too big field") << "1.2.3.999" << QStringList{"1", "2", "3", "255"};
    QTest::newRow("plain number") << "77" << QStringList{"77", "", "", ""};
    QTest::newRow("not an address") << "abc" << QStringList{"", "", "", ""};
    QTest::newRow("three parts") << "1.2.3" << QStringList{"", "", "", ""};
    QTest::newRow("five parts") << "1.2.3.4.5" << QStringList{"", "", "", ""};
}

void FourFieldAddressWidgetTest::pasting()
{
    QFETCH(QString, clipboard);
    QFETCH(QStringList, fields);

    QSignalSpy fieldChanged(m_widget, &FourFieldAddressWidget::fieldChanged);
    QApplication::clipboard()->setText(clipboard);
    focusFirstField();
    pressKey(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(fieldTexts(m_widget), fields);
    if (fields.last().isEmpty())
        return;
    // A whole address is reported field by field at once.
    QCOMPARE(fieldChanged.count(), 4);
    QCOMPARE(fieldChanged.last(), (QVariantList{3, fields.last().toInt()}));
    QCOMPARE(focusedField(m_widget), 3);
}

void FourFieldAddressWidgetTest::pastingFromTheContextMenu()
{
    QApplication::clipboard()->setText("10.9.8.7");
    QLineEdit* field = addressField(m_widget, 1);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                            field->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(field, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions())
        if (action->text().startsWith(QLineEdit::tr("&Paste")))
            paste = action;
    QVERIFY(paste);
    paste->trigger();
    menu->close();
    QCOMPARE(fieldTexts(m_widget), (QStringList{"10", "9", "8", "7"}));
}

void FourFieldAddressWidgetTest::fieldChangedOnLeavingAField()
{
    QSignalSpy fieldChanged(m_widget, &FourFieldAddressWidget::fieldChanged);
    QSignalSpy contentChanged(m_widget, &FourFieldAddressWidget::contentChanged);
    m_widget->setAddress(kAddress);
    QCOMPARE(contentChanged.count(), 1);
    QCOMPARE(fieldChanged.count(), 0); // the program's own writes are not reported

    focusFirstField();
    addressField(m_widget, 0)->selectAll();
    typeKeys("10");
    QCOMPARE(contentChanged.count(), 3); // each keystroke changes what is shown
    QCOMPARE(fieldChanged.count(), 0);   // not reported while the field is being typed
    typeKeys(".");
    QCOMPARE(fieldChanged.count(), 1);
    QCOMPARE(fieldChanged.takeFirst(), (QVariantList{0, 10}));

    // Passing through a field without changing it reports nothing.
    typeKeys(".");
    pressKey(Qt::Key_Right);
    m_after->setFocus();
    QCOMPARE(fieldChanged.count(), 0);

    // A field emptied by the person is reported as 0 but shown empty.
    addressField(m_widget, 2)->setFocus();
    addressField(m_widget, 2)->selectAll();
    pressKey(Qt::Key_Delete);
    m_after->setFocus();
    QCOMPARE(fieldChanged.count(), 1);
    QCOMPARE(fieldChanged.takeFirst(), (QVariantList{2, 0}));
    QCOMPARE(addressField(m_widget, 2)->text(), QString());
}

void FourFieldAddressWidgetTest::focusForTheWidgetAsAWhole()
{
    QSignalSpy gained(m_widget, &FourFieldAddressWidget::focusGained);
    QSignalSpy lost(m_widget, &FourFieldAddressWidget::focusLost);
    m_before->setFocus();
    QCOMPARE(gained.count(), 0);

    addressField(m_widget, 2)->setFocus(Qt::MouseFocusReason);
    QCOMPARE(gained.count(), 1);
    typeKeys("1.2");
    pressKey(Qt::Key_Backspace);
    pressKey(Qt::Key_Backspace);
    addressField(m_widget, 0)->setFocus(Qt::MouseFocusReason);
    QCOMPARE(gained.count(), 1); // moving between its own fields is no change
    QCOMPARE(lost.count(), 0);

    m_after->setFocus(Qt::MouseFocusReason);
    QCOMPARE(lost.count(), 1);
    m_widget->setFocus(); // the widget passes the focus to its first field
    QCOMPARE(gained.count(), 2);
    QCOMPARE(focusedField(m_widget), 0);
}

void FourFieldAddressWidgetTest::tabTreatsTheAddressAsOneStop()
{
    m_before->setFocus(Qt::TabFocusReason);
    pressKey(Qt::Key_Tab);
    QCOMPARE(focusedField(m_widget), 0);
    typeKeys("1.2.3");
    QCOMPARE(focusedField(m_widget), 2);
    pressKey(Qt::Key_Tab);
    QVERIFY(m_after->hasFocus());

    addressField(m_widget, 2)->setFocus(Qt::MouseFocusReason);
    pressKey(Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(m_before->hasFocus());
}

void FourFieldAddressWidgetTest::fieldColoursComeFromTheOwner()
{
    QList<int> asked;
    m_widget->setColourSource([&asked](int field) {
        asked << field;
        return widgets::FieldColours{Qt::red, QColor(255, 255, 0)};
    });
    m_widget->setAddress(kAddress);
    const QImage enabled = m_widget->grab().toImage();
    QCOMPARE(enabled.pixelColor(enabled.width() / 8, 3), QColor(255, 255, 0));
    for (int f = 0; f < 4; ++f)
        QVERIFY2(asked.contains(f), qPrintable(QString("field %1 not asked").arg(f)));

    // A disabled widget looks disabled: the owner is not asked.
    asked.clear();
    m_widget->setEnabled(false);
    const QImage disabled = m_widget->grab().toImage();
    QVERIFY(!asked.contains(1));
    QVERIFY(disabled.pixelColor(disabled.width() / 8, 3) != QColor(255, 255, 0));
}

QTEST_MAIN(FourFieldAddressWidgetTest)
#include "FourFieldAddressWidgetTest.moc"
