// The search window: its look and place, and its bar, which fills once in
// fifty steps and stays full when the window is hidden and shown again.

#include "mainwindow/Form2.h"

#include "platform/gui/Fonts.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>
#include <cstdint>

using mainwindow::Form2;

class Form2Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { platform::installFontSubstitutions(); }
    void lookAndPlace();
    void barFillsOnceInFiftySteps();
    void barRunsOnItsTimer();
};

void Form2Test::lookAndPlace()
{
    std::int32_t guidePage = 0;
    Form2 form(guidePage);
    QCOMPARE(guidePage, 1); // making it marks the start-up scan as pending
    QVERIFY(form.isVisible());
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(form.windowTitle(), QStringLiteral("NAS検索..."));
    QCOMPARE(form.size(), QSize(287, 64));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.geometry().center(),
             QGuiApplication::primaryScreen()->availableGeometry().center());
    QVERIFY(form.autoFillBackground());
    QCOMPARE(form.palette().color(QPalette::Window), QColor(192, 220, 192));
    QCOMPARE(qRound(form.windowOpacity() * 255), 200);
    QCOMPARE(form.font().family(), QStringLiteral("ＭＳ ゴシック"));
    QCOMPARE(form.font().pixelSize(), 16);

    auto* label = form.findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("NAS検索..."));
    QVERIFY(label->font().bold());
    QCOMPARE(label->font().pixelSize(), 16);
    QCOMPARE(label->pos(), QPoint(4, 8));
    QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));

    auto* bar = form.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    QVERIFY(bar);
    QCOMPARE(bar->geometry(), QRect(4, 33, 277, 25));
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 0);
    QVERIFY(!bar->isTextVisible());
}

void Form2Test::barFillsOnceInFiftySteps()
{
    std::int32_t guidePage = 0;
    Form2 form(guidePage);
    auto* bar = form.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    QVERIFY(form.Timer1()->isActive()); // showing starts it
    QCOMPARE(form.Timer1()->interval(), 50);
    for (int step = 1; step < 50; ++step)
        form.Timer1Timer();
    QCOMPARE(bar->value(), 98);
    QVERIFY(form.Timer1()->isActive());
    form.Timer1Timer();
    QCOMPARE(form.searchBarPosition(), 100);
    QCOMPARE(bar->value(), 100);
    QVERIFY(!form.Timer1()->isActive());

    // Hidden and shown again (the start-up hand-over, a later bring-forward):
    // the bar stays full and idle instead of counting on for ever.
    form.hide();
    form.show();
    QVERIFY(!form.Timer1()->isActive());
    QCOMPARE(bar->value(), 100);
}

void Form2Test::barRunsOnItsTimer()
{
    std::int32_t guidePage = 0;
    Form2 form(guidePage);
    auto* bar = form.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    // A shown-again window before the bar is full keeps counting from where it was.
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 10, 2000);
    // A close request only hides the window; its bar goes on meanwhile.
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    form.close();
    QVERIFY(!form.isVisible());
    QVERIFY(form.Timer1()->isActive());
    QCOMPARE(lastClosed.count(), 0);
    form.hide();
    const int where = form.searchBarPosition();
    form.show();
    QTRY_COMPARE_WITH_TIMEOUT(bar->value(), 100, 5000);
    QVERIFY(where > 0);
    QTRY_VERIFY_WITH_TIMEOUT(!form.Timer1()->isActive(), 1000);
}

QTEST_MAIN(Form2Test)
#include "Form2Test.moc"
