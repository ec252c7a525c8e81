// The start-up's deferred work: windows made before their controls, and work
// queued until the search window has been drawn.

#include "app/AfterFirstPaint.h"
#include "discovery/core/DeviceTable.h"
#include "mainwindow/Form_SelectNAS.h"
#include "platform/gui/Fonts.h"
#include "settings/Form3.h"
#include "tests/gui/mainwindow/MainWindowFixture.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using mainwindow::Form_SelectNAS;
using platform::ControlsTiming;

namespace {

// A main window whose controls are made later, its first scan started and
// its bar stepped n times before that.
struct LateMainWindow
{
    explicit LateMainWindow(int barSteps) : form(testing::fixedNetwork(0), ControlsTiming::Later)
    {
        form.Timer2()->stop();
        form.guidePageState() = 1;
        form.setScanStarter([this] { form.onScanStarting(); });
        form.setExitHandler([](int) {});
        form.startFirstScan();
        for (int i = 0; i < barSteps; ++i)
            form.Timer_BarTimer();
    }
    template <typename T>
    T* child(const char* name) const
    {
        return form.findChild<T*>(QString::fromLatin1(name));
    }
    Form_SelectNAS form;
};

} // namespace

class DeferredStartUpTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutions(); }
    void mainWindowControlsTakeTheRunningScansState();
    void endOfScanMakesTheControlsAndLoadsOnlyTheShownPicture();
    void settingsDialogControlsAreMadeAndShownAtFirstOpening();
    void workRunsOnceAfterTheFirstPaint();
};

void DeferredStartUpTest::mainWindowControlsTakeTheRunningScansState()
{
    LateMainWindow w(5);
    QVERIFY(!w.child<QPushButton>("But_Rescan"));
    QVERIFY(w.form.isScanning());
    QCOMPARE(w.form.scanBarPosition(), 10);
    QCOMPARE(w.form.selectedItemIndex(), -1);

    w.form.makeControls();
    QCOMPARE(w.form.windowTitle(), QStringLiteral("MRV-7K2"));
    QCOMPARE(w.form.size(), QSize(652, 538));
    for (const char* name : {"But_Rescan", "But_Next", "But_Pre", "But_Samba", "But_Web"})
        QVERIFY2(!w.child<QPushButton>(name)->isEnabled(), name);
    auto* bar = w.child<QProgressBar>("Bar1");
    QVERIFY(bar->isVisibleTo(&w.form));
    QCOMPARE(bar->value(), 10);
    for (int i = 0; i < 45; ++i)
        w.form.Timer_BarTimer();
    QVERIFY(!bar->isVisibleTo(&w.form));
    QVERIFY(!w.form.Timer_Bar()->isActive());
    w.form.makeControls(); // a second call changes nothing
    QCOMPARE(w.child<QProgressBar>("Bar1"), bar);
}

void DeferredStartUpTest::endOfScanMakesTheControlsAndLoadsOnlyTheShownPicture()
{
    LateMainWindow w(50); // the bar ran full before anything was made
    QVERIFY(!w.form.Timer_Bar()->isActive());
    w.form.onScanEnded(false);
    QVERIFY(w.form.isVisible());
    QCOMPARE(w.form.guidePage(), 2);
    QVERIFY(!w.child<QProgressBar>("Bar1")->isVisible());
    QVERIFY(w.child<QPushButton>("But_Next")->isEnabled());
    QVERIFY(!w.child<QLabel>("WelcomeImage")->pixmap().isNull());
    QVERIFY(w.child<QLabel>("DescriptionImage1")->pixmap().isNull());
    w.form.But_NextClick();
    QVERIFY(!w.child<QLabel>("DescriptionImage1")->pixmap().isNull());
    QCOMPARE(w.child<QLabel>("DescriptionImage1")->pixmap().deviceIndependentSize(),
             QSizeF(652, 348));
}

void DeferredStartUpTest::settingsDialogControlsAreMadeAndShownAtFirstOpening()
{
    discovery::DeviceTable table{};
    discovery::PcNetworkValues pc{};
    settings::Form3 dialog(
        table, pc, [] { return -1; }, ControlsTiming::Later);
    QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("Button1")));
    dialog.show();
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
    QVERIFY(ok && ok->isVisible());
    QCOMPARE(dialog.size(), QSize(328, 278));
    dialog.hide();
}

void DeferredStartUpTest::workRunsOnceAfterTheFirstPaint()
{
    QWidget window;
    window.resize(100, 40);
    int runs = 0;
    bool paintedFirst = false;
    app::afterFirstPaint(&window, [&] {
        ++runs;
        paintedFirst = !window.visibleRegion().isEmpty();
    });
    QCoreApplication::processEvents();
    QCOMPARE(runs, 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(runs, 1);
    QVERIFY(paintedFirst);
    window.repaint();
    QCoreApplication::processEvents();
    QCOMPARE(runs, 1);

    // A widget gone before it was drawn takes its work with it.
    auto* gone = new QWidget;
    app::afterFirstPaint(gone, [&] { ++runs; });
    gone->show();
    delete gone;
    QCoreApplication::processEvents();
    QCOMPARE(runs, 1);
}

QTEST_MAIN(DeferredStartUpTest)
#include "DeferredStartUpTest.moc"
