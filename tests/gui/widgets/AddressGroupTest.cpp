// The three controls where the settings dialog puts them, in the fonts the
// program uses: every field must be inside the group box and wide enough to
// show "255" whole. Saves a picture when MRV_SCREENSHOT_DIR names a folder.

#include "tests/gui/widgets/AddressGroupWindow.h"
#include "tests/gui/widgets/Typing.h"

#include <QDir>
#include <QFontInfo>

class AddressGroupTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void allFieldsReadableInTheGroupBox();

private:
    void saveScreenshot(QWidget& window, const QString& name);
};

void AddressGroupTest::initTestCase()
{
    AddressGroupWindow::substituteJapaneseFaces();
    QFont probe(QString::fromUtf8("ＭＳ Ｐゴシック"));
    if (QFontInfo(probe).family() != QLatin1String("IPAPGothic"))
        QSKIP("fonts-ipafont-gothic is not installed");
}

void AddressGroupTest::allFieldsReadableInTheGroupBox()
{
    AddressGroupWindow w;
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    w.controls[0]->setIPAddress("192.168.100.200");
    w.controls[1]->setIPAddress("255.255.255.0");
    w.controls[2]->setIPAddress("192.168.1.1");
    saveScreenshot(w.window, "address-group.png"); // before the checks: a failure has a picture

    // Inside the box's frame line, not touching it.
    const QRect inside = w.group->rect().adjusted(2, 2, -2, -2);
    for (auto* control : w.controls) {
        QVERIFY2(inside.contains(control->geometry()),
                 qPrintable(QString("%1 at %2,%3 %4x%5 leaves the group box")
                                .arg(control->objectName())
                                .arg(control->x())
                                .arg(control->y())
                                .arg(control->width())
                                .arg(control->height())));
        for (int i = 0; i < 4; ++i) {
            QLineEdit* field = addressField(control, i);
            QVERIFY(field->isVisible());
            const QRect inControl(field->mapTo(control, QPoint(0, 0)), field->size());
            QVERIFY(control->rect().contains(inControl));
            // Room for three of the widest digit plus the field's margins
            // and caret: "255" never scrolls out of sight.
            const QFontMetrics metrics(field->font());
            QVERIFY2(field->width() >= metrics.horizontalAdvance(QStringLiteral("888")) + 5,
                     qPrintable(QString("%1 field %2 is %3 px wide")
                                    .arg(control->objectName())
                                    .arg(i)
                                    .arg(field->width())));
            QVERIFY(field->height() >= metrics.height());
        }
    }
    // The last control does not run into the group box's bottom edge.
    QVERIFY(w.controls[2]->geometry().bottom() <= inside.bottom());

    // Disabled as in automatic mode: still readable, greyed.
    for (auto* control : w.controls) {
        control->setIPAddress("0.0.0.0");
        control->setEnabled(false);
    }
    saveScreenshot(w.window, "address-group-disabled.png");
}

void AddressGroupTest::saveScreenshot(QWidget& window, const QString& name)
{
    const QString dir = qEnvironmentVariable("MRV_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    QVERIFY(window.grab().save(QDir(dir).filePath(name)));
}

QTEST_MAIN(AddressGroupTest)
#include "AddressGroupTest.moc"
