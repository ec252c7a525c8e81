// Every page as a person sees it: saved as PNG beside the test (screens/),
// and every visible text checked to be drawn with real glyphs and to fit.

#include "discovery/core/DeviceTable.h"
#include "mainwindow/Form2.h"
#include "mainwindow/Form_SelectNAS.h"
#include "platform/gui/Fonts.h"
#include "tests/gui/mainwindow/MainWindowFixture.h"

#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <cstdint>

class ScreensTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pages_data();
    void pages();
    void searchWindow();

private:
    void checkTexts(QWidget* window);
    void save(QWidget* window, const QString& name);
    QDir m_dir;
};

namespace {

void checkGlyphs(const QWidget* w, const QString& text)
{
    const QFontMetrics metrics(w->font());
    const QString family = QFontInfo(w->font()).family();
    QVERIFY2(family.startsWith(QLatin1String("IPA")),
             qPrintable(w->objectName() + QLatin1String(" is drawn in ") + family));
    for (const char32_t c : text.toUcs4()) {
        if (c == U'\n')
            continue;
        QVERIFY2(metrics.inFontUcs4(c),
                 qPrintable(w->objectName() + QLatin1String(": no glyph for ") +
                            QString::fromUcs4(&c, 1)));
    }
}

} // namespace

void ScreensTest::initTestCase()
{
    platform::installFontSubstitutions();
    m_dir = QDir(QCoreApplication::applicationDirPath() + QLatin1String("/screens"));
    QVERIFY(m_dir.mkpath(QStringLiteral(".")));
}

void ScreensTest::checkTexts(QWidget* window)
{
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        if (!b->isVisibleTo(window))
            continue;
        checkGlyphs(b, b->text());
        QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) <= b->width() - 4,
                 qPrintable(b->objectName()));
    }
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (!l->isVisibleTo(window) || l->text().isEmpty())
            continue;
        checkGlyphs(l, l->text());
        QVERIFY2(l->width() >= l->fontMetrics().horizontalAdvance(l->text()),
                 qPrintable(l->objectName()));
        QVERIFY2(l->geometry().right() < window->width(), qPrintable(l->objectName()));
    }
    for (QPlainTextEdit* e : window->findChildren<QPlainTextEdit*>()) {
        if (!e->isVisibleTo(window))
            continue;
        checkGlyphs(e, e->toPlainText());
        const int room = e->viewport()->width() - 2 * int(e->document()->documentMargin());
        for (const QString& line : e->toPlainText().split(QLatin1Char('\n')))
            QVERIFY2(e->fontMetrics().horizontalAdvance(line) <= room, qPrintable(line));
        QVERIFY(e->document()->size().height() <= e->viewport()->height());
    }
    for (QListWidget* list : window->findChildren<QListWidget*>()) {
        if (!list->isVisibleTo(window))
            continue;
        for (int i = 0; i < list->count(); ++i) {
            checkGlyphs(list, list->item(i)->text());
            QVERIFY(list->visualItemRect(list->item(i)).width() >=
                    list->fontMetrics().horizontalAdvance(list->item(i)->text()));
        }
    }
}

void ScreensTest::save(QWidget* window, const QString& name)
{
    QVERIFY(window->grab().save(m_dir.filePath(name + QLatin1String(".png"))));
}

void ScreensTest::pages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("nexts");  // Next presses after the start-up scan found nothing
    QTest::addColumn<int>("select"); // -1: start-up with units, no move
    QTest::newRow("welcome") << "page-welcome" << 0 << -2;
    QTest::newRow("power") << "page-power" << 1 << -2;
    QTest::newRow("network") << "page-network" << 2 << -2;
    QTest::newRow("empty list") << "page-list-empty" << 3 << -2;
    QTest::newRow("list") << "page-list" << 0 << -1;
    QTest::newRow("details of the Japanese name") << "page-list-details" << 0 << 2;
    QTest::newRow("details outside the subnet") << "page-list-other" << 0 << 1;
}

void ScreensTest::pages()
{
    QFETCH(QString, name);
    QFETCH(int, nexts);
    QFETCH(int, select);
    mainwindow::Form_SelectNAS form(testing::fixedNetwork(0));
    form.Timer2()->stop();
    form.setScanStarter([&form] { form.onScanStarting(); });
    form.guidePageState() = 1;
    form.startFirstScan();
    if (select != -2) {
        testing::addUnit(form.deviceTable(), testing::Unit{});
        testing::Unit other;
        other.mac = QStringLiteral("00:11:22:33:44:02");
        other.ip = QStringLiteral("10.0.0.5");
        other.host = QStringLiteral("NAS-SOTO");
        other.capacity = QStringLiteral("244198584");
        other.free = QStringLiteral("12209929");
        testing::addUnit(form.deviceTable(), other);
        testing::Unit japanese;
        japanese.mac = QStringLiteral("00:11:22:33:44:03");
        japanese.ip = QStringLiteral("192.168.1.22");
        japanese.host = QStringLiteral("経理部のNAS");
        japanese.model.clear();
        testing::addUnit(form.deviceTable(), japanese);
    }
    form.onScanEnded(false);
    for (int i = 0; i < nexts; ++i)
        form.But_NextClick();
    if (nexts == 3)
        form.onScanEnded(false);
    // By the end of a scan its bar has filled and gone (2500 of 3000 ms).
    for (int step = 0; step < 50 && form.Timer_Bar()->isActive(); ++step)
        form.Timer_BarTimer();
    if (select >= 0)
        form.findChild<QListWidget*>(QStringLiteral("Lis_NASList"))->setCurrentRow(select);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    checkTexts(&form);
    save(&form, name);
}

void ScreensTest::searchWindow()
{
    std::int32_t guidePage = 0;
    mainwindow::Form2 form(guidePage);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (int i = 0; i < 20; ++i)
        form.Timer1Timer();
    form.Timer1()->stop();
    checkTexts(&form);
    save(&form, QStringLiteral("search-window"));
}

QTEST_MAIN(ScreensTest)
#include "ScreensTest.moc"
