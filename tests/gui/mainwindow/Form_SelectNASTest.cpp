// The main window in-process against scripted scans: the controls at
// creation, the guide's page moves, the list and details of each kind of
// unit, the action buttons, and unit texts shown as plain characters.

#include "mainwindow/Form_SelectNAS.h"

#include "discovery/core/DeviceTable.h"
#include "discovery/core/FixedText.h"
#include "mainwindow/core/GuideTexts.h"
#include "platform/gui/Fonts.h"
#include "tests/gui/mainwindow/MainWindowFixture.h"
#include "tests/testsupport/MessageBoxCatcher.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>
#include <memory>

using mainwindow::Form_SelectNAS;
using testing::Unit;

namespace {

// Stands for the settings dialog: answers at once with a fixed result.
class FakeSettingsDialog : public QDialog
{
public:
    int answer = QDialog::Rejected;
    int opened = 0;
    int exec() override
    {
        ++opened;
        return answer;
    }
};

struct Harness
{
    explicit Harness(int networkState = 0)
        : form(std::make_unique<Form_SelectNAS>(testing::fixedNetwork(networkState)))
    {
        form->Timer2()->stop();
        form->guidePageState() = 1; // what making the search window does
        form->setScanStarter([this] {
            ++scans;
            form->onScanStarting();
        });
        form->setExitHandler([this](int status) { exitStatus = status; });
    }

    template <typename T>
    T* get(const char* name) const
    {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QPushButton* button(const char* name) const { return get<QPushButton>(name); }
    QString label(const char* name) const { return get<QLabel>(name)->text(); }
    QListWidget* list() const { return get<QListWidget>("Lis_NASList"); }

    void unit(const QString& kind)
    {
        Unit u;
        u.mac = QStringLiteral("00:11:22:33:44:%1")
                    .arg(form->deviceTable().DeviceCount, 2, 10, QLatin1Char('0'));
        if (kind == QLatin1String("nofree")) {
            u.ip = QStringLiteral("192.168.1.21");
            u.host = QStringLiteral("NAS-B");
            u.free.clear();
        } else if (kind == QLatin1String("other")) {
            u.ip = QStringLiteral("10.0.0.5");
            u.host = QStringLiteral("NAS-C");
        } else if (kind == QLatin1String("jp")) {
            u.ip = QStringLiteral("192.168.1.22");
            u.host = QStringLiteral("経理部のNAS");
            u.model.clear();
        } else if (kind == QLatin1String("lan2")) {
            u.ip = QStringLiteral("192.168.2.20"); // heard on the second adapter
            u.host = QStringLiteral("NAS-LAN2");
        }
        testing::addUnit(form->deviceTable(), u);
        if (kind == QLatin1String("lan2"))
            form->deviceTable().record(form->deviceTable().DeviceCount)->ArrivalInterface = 3;
    }

    // Runs a script of words: activate, end, next, pre, rescan, +here,
    // +nofree, +other, +jp, +lan2 (a unit answers during the scan).
    void run(const QString& script)
    {
        for (const QString& word : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (word == QLatin1String("activate"))
                form->FormActivate();
            else if (word == QLatin1String("end"))
                form->onScanEnded(false);
            else if (word == QLatin1String("next"))
                form->But_NextClick();
            else if (word == QLatin1String("pre"))
                form->But_PreClick();
            else if (word == QLatin1String("rescan"))
                form->But_RescanClick();
            else if (word.startsWith(QLatin1Char('+')))
                unit(word.mid(1));
            else
                qFatal("unknown step %s", qPrintable(word));
        }
    }

    std::unique_ptr<Form_SelectNAS> form;
    int scans = 0;
    int exitStatus = -1;
};

QString guide(int n)
{
    return QString::fromStdString(mainwindow::guideText(n))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// What a tooltip shows: Qt takes a text that looks like markup as rich text.
// Only read, never laid out, so no image a tooltip names is ever loaded.
QString shownToolTip(const QWidget* w, bool* hasImage = nullptr)
{
    const QString tip = w->toolTip();
    if (hasImage)
        *hasImage = false;
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument doc;
    doc.setHtml(tip);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (hasImage && it.fragment().charFormat().isImageFormat())
                *hasImage = true;
    return doc.toPlainText();
}

const char* const kValueLabels[] = {"Lab_NASinfo1", "Lab_NASinfo2", "Lab_NASinfo3", "Lab_NASinfo4",
                                    "Lab_NASinfo5", "Lab_NASinfo6", "Lab_NASinfo7", "Lab_NASinfo8"};

} // namespace

class Form_SelectNASTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void controlsAtCreation_data();
    void controlsAtCreation();
    void windowAndTabOrder();
    void pageMachine_data();
    void pageMachine();
    void showGuidePageLeavesOtherPagesAlone();
    void settingsDialog_data();
    void settingsDialog();
    void selectionButtons_data();
    void selectionButtons();
    void emptyClickClearsSelection();
    void detailsPanelAndIcons();
    void hostileUnitTextsStayText();
    void actionsOpenTheAddressTheSubnetCheckRead_data();
    void actionsOpenTheAddressTheSubnetCheckRead();
    void rescanState();
    void scanBar();
    void networkErrorsEndTheProgram_data();
    void networkErrorsEndTheProgram();
    void replyPortFailure();
    void closeAsks_data();
    void closeAsks();
    void screenChangeRemakesPictures();
    void closeIgnoredWhileSettingsOpen();
    void startUpHandOver();
    void timersFoundByName();
};

void Form_SelectNASTest::initTestCase()
{
    platform::installFontSubstitutions();
}

void Form_SelectNASTest::controlsAtCreation_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    auto row = [](const char* name, const char* kind, QRect g, const QString& caption,
                  bool visible = true, bool enabled = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << g
                            << caption << visible << enabled;
    };
    row("WelcomeImage", "QLabel", {0, 0, 652, 348}, {});
    row("DescriptionImage1", "QLabel", {0, 0, 652, 348}, {}, false);
    row("DescriptionImage2", "QLabel", {0, 0, 652, 348}, {}, false);
    row("Lis_NASList", "QListWidget", {16, 16, 625, 233}, {});
    row("DescriptionBox", "QPlainTextEdit", {37, 360, 585, 105}, {});
    row("But_Rescan", "QPushButton", {56, 472, 75, 25}, QStringLiteral("NAS更新"));
    row("But_Web", "QPushButton", {160, 472, 81, 25}, QStringLiteral("WEB UIを開く"), true, false);
    row("But_Samba", "QPushButton", {256, 472, 75, 25}, QStringLiteral("共有を開く"), true, false);
    row("But_Pre", "QPushButton", {360, 472, 75, 25}, QStringLiteral("先に"));
    row("But_Next", "QPushButton", {448, 472, 75, 25}, QStringLiteral("設定"), true, false);
    row("But_Cancel", "QPushButton", {544, 472, 75, 25}, QStringLiteral("閉じる"));
    row("Bar1", "QProgressBar", {0, 521, 652, 17}, {}, false);
    // Labels size themselves to their text: only the position is fixed.
    row("Host_Name", "QLabel", {56, 264, 0, 0}, QStringLiteral("ホスト名"));
    row("IP_Address", "QLabel", {56, 280, 0, 0}, QStringLiteral("IPアドレス"));
    row("Net_Mask", "QLabel", {56, 296, 0, 0}, QStringLiteral("サブネットマスク"));
    row("Gateway", "QLabel", {56, 312, 0, 0}, QStringLiteral("デフォルトゲートウェイ"));
    row("HD_Name", "QLabel", {360, 264, 0, 0}, QStringLiteral("ハードディスクモデル名"));
    row("HD_Capacity", "QLabel", {360, 280, 0, 0}, QStringLiteral("ハードディスク容量"));
    row("Availaable", "QLabel", {360, 296, 0, 0}, QStringLiteral("ハードディスク空き容量"));
    row("HD_User", "QLabel", {360, 312, 0, 0}, QStringLiteral("ハードディスク空き容量率"));
    row("Lab_NASinfo1", "QLabel", {200, 264, 0, 0}, {});
    row("Lab_NASinfo4", "QLabel", {200, 312, 0, 0}, {});
    row("Lab_NASinfo5", "QLabel", {512, 264, 0, 0}, {});
    row("Lab_NASinfo8", "QLabel", {512, 312, 0, 0}, {});
    row("LBVersion", "QLabel", {8, 503, 0, 0}, QStringLiteral("バージョン v1.0 2006/09/07"));
}

void Form_SelectNASTest::controlsAtCreation()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    Harness h;
    QWidget* w = h.form->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), kind);
    QCOMPARE(w->parentWidget(), h.form.get());
    if (geometry.width() > 0)
        QCOMPARE(w->geometry(), geometry);
    else
        QCOMPARE(w->pos(), geometry.topLeft());
    if (auto* b = qobject_cast<QPushButton*>(w))
        QCOMPARE(b->text(), caption);
    if (auto* l = qobject_cast<QLabel*>(w)) {
        QCOMPARE(l->text(), caption);
        // The whole caption is inside its label, not cut.
        QVERIFY(l->width() >= l->fontMetrics().horizontalAdvance(caption));
    }
    QCOMPARE(w->isVisibleTo(h.form.get()), visible);
    QCOMPARE(w->isEnabled(), enabled);
}

void Form_SelectNASTest::windowAndTabOrder()
{
    Harness h;
    Form_SelectNAS& f = *h.form;
    QCOMPARE(f.windowTitle(), QStringLiteral("MRV-7K2"));
    QCOMPARE(f.size(), QSize(652, 538));
    QCOMPARE(f.minimumSize(), f.maximumSize());
    QVERIFY(!f.isVisible());
    const Qt::WindowFlags flags = f.windowFlags();
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    // Fonts: the window's proportional face, the fixed face on buttons and
    // the text box, two buttons a pixel smaller.
    QCOMPARE(f.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(f.font().pixelSize(), 13);
    QCOMPARE(h.get<QLabel>("Host_Name")->font().pixelSize(), 13);
    for (const char* name : {"But_Rescan", "But_Pre", "But_Next", "But_Cancel"}) {
        QCOMPARE(h.button(name)->font().family(), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(h.button(name)->font().pixelSize(), 13);
    }
    for (const char* name : {"But_Samba", "But_Web"}) {
        QCOMPARE(h.button(name)->font().family(), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(h.button(name)->font().pixelSize(), 12);
    }
    auto* box = h.get<QPlainTextEdit>("DescriptionBox");
    QCOMPARE(box->font().family(), QStringLiteral("ＭＳ ゴシック"));
    QVERIFY(box->isReadOnly());
    QCOMPARE(box->focusPolicy(), Qt::NoFocus);
    QCOMPARE(box->palette().color(QPalette::Base), f.palette().color(QPalette::Button));
    auto* bar = h.get<QProgressBar>("Bar1");
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QVERIFY(!bar->isTextVisible());
    auto* list = h.list();
    QCOMPARE(list->viewMode(), QListView::IconMode);
    QCOMPARE(list->iconSize(), QSize(75, 75));
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);

    // Tab walks the buttons and the list in the form's order, never the text box.
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    h.button("But_Next")->setEnabled(true);
    h.button("But_Samba")->setEnabled(true);
    h.button("But_Web")->setEnabled(true);
    const QStringList expected{"But_Next", "But_Cancel",  "But_Rescan", "But_Samba",
                               "But_Web",  "Lis_NASList", "But_Pre"};
    QWidget* w = h.button("But_Next");
    QStringList order;
    for (int i = 0; i < expected.size(); ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (w && w->focusPolicy() == Qt::NoFocus)
            w = w->nextInFocusChain();
    }
    QCOMPARE(order, expected);
}

void Form_SelectNASTest::pageMachine_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("picture"); // 0 none, 1 welcome, 2 power, 3 network
    QTest::addColumn<bool>("list");
    QTest::addColumn<int>("text"); // guide text shown, 0 for none
    QTest::addColumn<QString>("nextCaption");
    QTest::addColumn<bool>("nextEnabled");
    QTest::addColumn<bool>("preVisible");
    QTest::addColumn<bool>("preEnabled");
    QTest::addColumn<bool>("rescanVisible");
    QTest::addColumn<bool>("rescanEnabled");
    QTest::addColumn<bool>("actionsVisible"); // share and web
    QTest::addColumn<int>("scans");
    const QString next = QStringLiteral("次へ");
    const QString settings = QStringLiteral("設定");
    // clang-format off
    QTest::newRow("activation starts the first scan")
        << "activate" << 1 << 1 << true << 0 << settings << false << true << false << true << false << false << 1;
    QTest::newRow("start-up, nothing found: welcome")
        << "activate end" << 2 << 1 << false << 1 << next << true << false << true << false << true << false << 1;
    QTest::newRow("welcome, next: power")
        << "activate end next" << 3 << 2 << false << 2 << next << true << true << true << false << true << false << 1;
    QTest::newRow("power, next: network")
        << "activate end next next" << 4 << 3 << false << 3 << next << true << true << true << false << true << false << 1;
    QTest::newRow("power, back: welcome")
        << "activate end next pre" << 2 << 1 << false << 1 << next << true << false << true << false << true << false << 1;
    QTest::newRow("network, back: power")
        << "activate end next next pre" << 3 << 2 << false << 2 << next << true << true << true << false << true << false << 1;
    QTest::newRow("network, next: list and a scan")
        << "activate end next next next" << 5 << 0 << true << 4 << settings << false << true << false << true << false << false << 2;
    QTest::newRow("that scan finds nothing: back offered")
        << "activate end next next next end" << 5 << 0 << true << 4 << settings << false << true << true << true << true << false << 2;
    QTest::newRow("list, back: network")
        << "activate end next next next end pre" << 4 << 3 << false << 3 << next << true << true << true << false << true << false << 2;
    QTest::newRow("that scan finds a unit: selected, no back")
        << "activate end next next next +here end" << 5 << 0 << true << 4 << settings << true << false << true << true << true << true << 2;
    QTest::newRow("start-up with a unit: straight to the list")
        << "activate +here end" << 5 << 0 << true << 4 << settings << true << false << true << true << true << true << 1;
    QTest::newRow("unit outside the subnet: settings only")
        << "activate +other end" << 5 << 0 << true << 4 << settings << true << false << true << true << true << false << 1;
    QTest::newRow("rescan keeps the page, disables all")
        << "activate +here end rescan" << 5 << 0 << true << 4 << settings << false << false << false << true << false << false << 2;
    QTest::newRow("rescan that finds nothing")
        << "activate +here end rescan end" << 5 << 0 << true << 4 << settings << false << false << true << true << true << false << 2;
    QTest::newRow("activation after start-up starts nothing")
        << "activate end activate" << 2 << 1 << false << 1 << next << true << false << true << false << true << false << 1;
    QTest::newRow("second activation during the first scan")
        << "activate activate" << 1 << 1 << true << 0 << settings << false << true << false << true << false << false << 1;
    // clang-format on
}

void Form_SelectNASTest::pageMachine()
{
    QFETCH(QString, script);
    QFETCH(int, page);
    QFETCH(int, picture);
    QFETCH(bool, list);
    QFETCH(int, text);
    QFETCH(QString, nextCaption);
    QFETCH(bool, nextEnabled);
    QFETCH(bool, preVisible);
    QFETCH(bool, preEnabled);
    QFETCH(bool, rescanVisible);
    QFETCH(bool, rescanEnabled);
    QFETCH(bool, actionsVisible);
    QFETCH(int, scans);

    Harness h;
    h.run(script);
    const QWidget* f = h.form.get();
    QCOMPARE(h.form->guidePage(), page);
    QCOMPARE(h.scans, scans);
    QCOMPARE(h.get<QLabel>("WelcomeImage")->isVisibleTo(f), picture == 1);
    QCOMPARE(h.get<QLabel>("DescriptionImage1")->isVisibleTo(f), picture == 2);
    QCOMPARE(h.get<QLabel>("DescriptionImage2")->isVisibleTo(f), picture == 3);
    for (const char* name : {"Lis_NASList", "Host_Name", "HD_User", "Lab_NASinfo1", "Lab_NASinfo8"})
        QVERIFY2(h.get<QWidget>(name)->isVisibleTo(f) == list, name);
    QCOMPARE(h.get<QPlainTextEdit>("DescriptionBox")->toPlainText(),
             text ? guide(text) : QString());
    QCOMPARE(h.button("But_Next")->text(), nextCaption);
    QCOMPARE(h.button("But_Next")->isEnabled(), nextEnabled);
    QCOMPARE(h.button("But_Pre")->isVisibleTo(f), preVisible);
    QCOMPARE(h.button("But_Pre")->isEnabled(), preEnabled);
    QCOMPARE(h.button("But_Rescan")->isVisibleTo(f), rescanVisible);
    QCOMPARE(h.button("But_Rescan")->isEnabled(), rescanEnabled);
    QCOMPARE(h.button("But_Samba")->isVisibleTo(f), actionsVisible);
    QCOMPARE(h.button("But_Web")->isVisibleTo(f), actionsVisible);
    QVERIFY(h.button("But_Cancel")->isVisibleTo(f));
    QVERIFY(h.button("But_Cancel")->isEnabled());
}

void Form_SelectNASTest::showGuidePageLeavesOtherPagesAlone()
{
    // Pages 0, 1 and 6 have no layout: only the text box is emptied.
    for (int page : {0, 1, 6}) {
        Harness h;
        h.run(QStringLiteral("activate +here end"));
        h.form->guidePageState() = page;
        h.form->ShowGuidePage();
        const QWidget* f = h.form.get();
        QVERIFY(h.get<QPlainTextEdit>("DescriptionBox")->toPlainText().isEmpty());
        QVERIFY(h.list()->isVisibleTo(f));
        QVERIFY(!h.get<QLabel>("WelcomeImage")->isVisibleTo(f));
        QCOMPARE(h.button("But_Next")->text(), QStringLiteral("設定"));
        QVERIFY(h.button("But_Next")->isEnabled());
        QVERIFY(h.button("But_Samba")->isVisibleTo(f));
        QVERIFY(!h.button("But_Pre")->isVisibleTo(f));
    }
}

void Form_SelectNASTest::settingsDialog_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("scans");
    QTest::addColumn<int>("pageAfter");
    QTest::newRow("cancelled: nothing more") << int(QDialog::Rejected) << 1 << 6;
    QTest::newRow("accepted: a new scan") << int(QDialog::Accepted) << 2 << 6;
    QTest::newRow("any other result: a new scan") << 7 << 2 << 6;
}

void Form_SelectNASTest::settingsDialog()
{
    QFETCH(int, answer);
    QFETCH(int, scans);
    QFETCH(int, pageAfter);
    Harness h;
    FakeSettingsDialog dialog;
    dialog.answer = answer;
    h.form->setSettingsDialog(&dialog);
    h.run(QStringLiteral("activate +here +other end"));
    h.list()->setCurrentRow(1);
    QCOMPARE(h.form->selectedItemIndex(), 1); // the dialog acts on record 2
    h.form->But_NextClick();
    QCOMPARE(dialog.opened, 1);
    QCOMPARE(h.scans, scans);
    QCOMPARE(h.form->guidePage(), pageAfter);
    // The list text stays: page 6 does not lay the window out again.
    QCOMPARE(h.get<QPlainTextEdit>("DescriptionBox")->toPlainText(), guide(4));
    if (answer == QDialog::Rejected) {
        h.form->But_NextClick(); // page 6: the dialog again
        QCOMPARE(dialog.opened, 2);
        QCOMPARE(h.form->guidePage(), 6);
    } else {
        h.run(QStringLiteral("+here end"));
        QCOMPARE(h.form->guidePage(), 5);
    }
}

void Form_SelectNASTest::selectionButtons_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("samba");
    QTest::addColumn<bool>("web");
    QTest::addColumn<bool>("next");
    QTest::addColumn<QString>("host");
    QTest::newRow("in subnet") << 0 << true << true << true << "NAS-A";
    QTest::newRow("in subnet, no free value") << 1 << false << true << true << "NAS-B";
    QTest::newRow("outside subnet") << 2 << false << false << true << "NAS-C";
    QTest::newRow("in subnet, no disk model") << 3 << true << true << true << "経理部のNAS";
    QTest::newRow("in its own adapter's subnet") << 4 << true << true << true << "NAS-LAN2";
}

void Form_SelectNASTest::selectionButtons()
{
    QFETCH(int, row);
    QFETCH(bool, samba);
    QFETCH(bool, web);
    QFETCH(bool, next);
    QFETCH(QString, host);
    Harness h(3);
    h.run(QStringLiteral("activate +here +nofree +other +jp +lan2 end"));
    // Start from a different unit so that the move itself is what counts.
    h.list()->setCurrentRow(row == 2 ? 0 : 2);
    h.list()->setCurrentRow(row);
    const QWidget* f = h.form.get();
    QCOMPARE(h.form->selectedRecord(), row + 1);
    QCOMPARE(h.form->selectedItemIndex(), row);
    QCOMPARE(h.label("Lab_NASinfo1"), host);
    QCOMPARE(h.button("But_Samba")->isEnabled(), samba);
    QCOMPARE(h.button("But_Samba")->isVisibleTo(f), samba);
    QCOMPARE(h.button("But_Web")->isEnabled(), web);
    QCOMPARE(h.button("But_Web")->isVisibleTo(f), web);
    QCOMPARE(h.button("But_Next")->isEnabled(), next);
    // The settings dialog proposes from the unit's own network.
    QCOMPARE(discovery::textOf(h.form->selectedUnitNetwork().PcIpAddress),
             std::string_view(row == 4 ? "192.168.2.37" : "192.168.1.37"));
}

void Form_SelectNASTest::emptyClickClearsSelection()
{
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    h.run(QStringLiteral("activate +here +other end"));
    QCOMPARE(h.form->selectedRecord(), 1);
    QVERIFY(!h.label("Lab_NASinfo2").isEmpty());
    // Bottom right of the list holds no item.
    QWidget* viewport = h.list()->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {},
                      QPoint(viewport->width() - 5, viewport->height() - 5));
    QCOMPARE(h.form->selectedItemIndex(), -1);
    QCOMPARE(h.form->selectedRecord(), 0);
    for (const char* name : kValueLabels)
        QVERIFY2(h.label(name).isEmpty(), name);
    QVERIFY(!h.button("But_Samba")->isEnabled());
    QVERIFY(!h.button("But_Web")->isEnabled());
    QVERIFY(!h.button("But_Next")->isEnabled());
    QVERIFY(!h.button("But_Samba")->isVisible());
    QVERIFY(!h.button("But_Web")->isVisible());
}

void Form_SelectNASTest::detailsPanelAndIcons()
{
    Harness h;
    h.run(QStringLiteral("activate +here +nofree +other +jp end"));

    // Items in reply order, captioned with the host names, icons by usage and subnet.
    QListWidget* list = h.list();
    QCOMPARE(list->count(), 4);
    const QStringList hosts{"NAS-A", "NAS-B", "NAS-C", "経理部のNAS"};
    const QList<int> icons{10, 21, 32, 0};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(list->item(i)->text(), hosts.at(i));
        QCOMPARE(list->item(i)->data(Qt::UserRole).toInt(), icons.at(i));
        QVERIFY(!list->item(i)->icon().isNull());
        QVERIFY(!(list->item(i)->flags() & Qt::ItemIsEditable));
    }
    // After the scan the first unit is selected and focused, its values in the panel.
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(h.form->selectedItemIndex(), 0);
    const QStringList first{"NAS-A",     "192.168.1.20", "255.255.255.0", "192.168.1.1",
                            "ST380215A", "80 GB",        "40 GB",         "50%"};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(h.label(kValueLabels[i]), first.at(i));

    list->setCurrentRow(1); // no free-space value
    QCOMPARE(h.label("Lab_NASinfo7"), QStringLiteral("0 MB"));
    QCOMPARE(h.label("Lab_NASinfo8"), QStringLiteral("0%"));
    list->setCurrentRow(3); // no disk model: the disk values read "0"
    QCOMPARE(h.label("Lab_NASinfo5"), QString());
    QCOMPARE(h.label("Lab_NASinfo6"), QStringLiteral("0 MB"));
    QCOMPARE(h.label("Lab_NASinfo7"), QStringLiteral("0 MB"));
    QCOMPARE(h.label("Lab_NASinfo8"), QStringLiteral("0%"));
    // A long value is never cut by its label.
    QLabel* host = h.get<QLabel>("Lab_NASinfo1");
    QVERIFY(host->width() >= host->fontMetrics().horizontalAdvance(host->text()));
    // One that the window's edge cuts stays readable whole; one that fits
    // gets no tooltip, and a cleared panel keeps none.
    const QString longModel = QStringLiteral("WDC WD5000AAKS-00V1A0 Serial ATA 500GB 7200rpm XX");
    discovery::copyText(h.form->deviceTable().record(1)->DiskModel, longModel.toStdString());
    h.form->ShowDetails(1);
    QLabel* model = h.get<QLabel>("Lab_NASinfo5");
    QVERIFY(model->geometry().right() >= h.form->width());
    QCOMPARE(shownToolTip(model), longModel);
    QCOMPARE(model->accessibleDescription(), longModel);
    QCOMPARE(model->text(), longModel);
    QCOMPARE(host->toolTip(), QString());
    h.form->ShowDetails(2);
    QCOMPARE(model->toolTip(), QString());
    QCOMPARE(model->accessibleDescription(), QString());
    h.form->ShowDetails(1);
    h.form->ClearDetails();
    QCOMPARE(model->toolTip(), QString());

    // A unit's texts are shown as the characters it sent, never as markup.
    discovery::copyText(h.form->deviceTable().record(1)->HostName, "<b>x</b><img>");
    discovery::copyText(h.form->deviceTable().record(1)->DiskModel, "<h1>disk</h1>");
    h.form->ShowDetails(1);
    for (const char* name : kValueLabels)
        QCOMPARE(h.get<QLabel>(name)->textFormat(), Qt::PlainText);
    QCOMPARE(h.label("Lab_NASinfo1"), QStringLiteral("<b>x</b><img>"));
}

void Form_SelectNASTest::hostileUnitTextsStayText()
{
    Harness h;
    h.run(QStringLiteral("activate +here end"));
    discovery::DeviceRecord& r = *h.form->deviceTable().record(1);
    // Markup, terminal controls, DEL and a lone CP932 lead byte at the end; the
    // model is long enough for the window's edge to cut it (hence a tooltip).
    discovery::copyText(r.HostName, "<b>\x1b]0;x\x07\x7f\x82");
    discovery::copyText(r.GatewayAddress, "<a href=x>y</a>");
    discovery::copyText(r.DiskModel, "<img src=/dev/zero>\x1b[2J&lt;WWWWWWWWWWWWWWWWWWWWW\x82");
    h.form->FillDeviceList();
    h.list()->setCurrentRow(0);
    h.form->ShowDetails(1);

    const QString host = h.list()->item(0)->text();
    QVERIFY(host.startsWith(QStringLiteral("<b>\x1b]0;x\a\x7f")));
    QCOMPARE(host.back(), QChar(QChar::ReplacementCharacter));
    QCOMPARE(h.label("Lab_NASinfo1"), host);
    QCOMPARE(h.label("Lab_NASinfo4"), QStringLiteral("<a href=x>y</a>"));
    for (const char* name : kValueLabels)
        QCOMPARE(h.get<QLabel>(name)->textFormat(), Qt::PlainText);

    QLabel* model = h.get<QLabel>("Lab_NASinfo5");
    QVERIFY(model->text().startsWith(QStringLiteral("<img src=/dev/zero>\x1b[2J&lt;W")));
    QVERIFY(model->geometry().right() >= h.form->width());
    bool hasImage = true;
    QCOMPARE(shownToolTip(model, &hasImage), model->text());
    QVERIFY(!hasImage);
    QCOMPARE(model->accessibleDescription(), model->text());
}

void Form_SelectNASTest::actionsOpenTheAddressTheSubnetCheckRead_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("address");
    QTest::newRow("decimal") << "192.168.1.20"
                             << "192.168.1.20";
    QTest::newRow("octal part") << "192.168.1.024"
                                << "192.168.1.20";
    QTest::newRow("octal part read as decimal") << "192.168.1.010"
                                                << "192.168.1.8";
    QTest::newRow("hex parts") << "0xc0.0xa8.1.21"
                               << "192.168.1.21";
    QTest::newRow("three parts") << "192.168.278"
                                 << "192.168.1.22";
    QTest::newRow("trailing blank") << "192.168.1.23 "
                                    << "192.168.1.23";
}

void Form_SelectNASTest::actionsOpenTheAddressTheSubnetCheckRead()
{
#ifdef Q_OS_WIN
    QSKIP("Windows opens through explorer.exe and the shell, not an opener on PATH");
#endif
    QFETCH(QString, ip);
    QFETCH(QString, address);
    // The desktop opener is a script on PATH that writes down what it got.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString log = dir.filePath(QStringLiteral("opened.log"));
    QFile script(dir.filePath(QStringLiteral("xdg-open")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$1\" >> \"" + QFile::encodeName(log) + "\"\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()) + ":/usr/bin:/bin");

    Harness h;
    h.run(QStringLiteral("activate"));
    Unit u;
    u.ip = ip;
    testing::addUnit(h.form->deviceTable(), u);
    h.run(QStringLiteral("end"));
    // In the PC's subnet by inet_addr's reading: both actions are offered,
    // and the details show the address they open.
    QCOMPARE(h.label("Lab_NASinfo2"), address);
    QVERIFY(h.button("But_Web")->isEnabled());
    QVERIFY(h.button("But_Samba")->isEnabled());
    h.form->But_WebClick();
    h.form->But_SambaClick();
    const auto opened = [&log] {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray web = QStringLiteral("http://%1/\n").arg(address).toLatin1();
    const QByteArray share = QStringLiteral("smb://%1/\n").arg(address).toLatin1();
    QTRY_VERIFY_WITH_TIMEOUT(opened().size() >= web.size() + share.size(), 5000);
    qputenv("PATH", path);
    // The two openers run on their own: either may write first.
    const QByteArray got = opened();
    QCOMPARE(got.size(), web.size() + share.size());
    QVERIFY(got.contains(web));
    QVERIFY(got.contains(share));
}

void Form_SelectNASTest::rescanState()
{
    Harness h;
    // The start-up's wrap (its launcher's token) goes around the first scan's
    // activation only.
    int wrapped = 0;
    h.form->setFirstActivation([&wrapped](const std::function<void()>& bringUp) {
        ++wrapped;
        bringUp();
    });
    h.run(QStringLiteral("activate +here +other end"));
    QCOMPARE(wrapped, 1);
    QVERIFY(h.form->isVisible());
    h.list()->setCurrentRow(1);
    h.form->But_RescanClick();
    const QWidget* f = h.form.get();
    QCOMPARE(h.form->deviceTable().DeviceCount, 0);
    QCOMPARE(h.list()->count(), 0);
    for (const char* name : kValueLabels)
        QVERIFY2(h.label(name).isEmpty(), name);
    for (const char* name : {"But_Samba", "But_Web", "But_Next", "But_Pre", "But_Rescan"})
        QVERIFY2(!h.button(name)->isEnabled(), name);
    QVERIFY(!h.button("But_Samba")->isVisibleTo(f));
    QVERIFY(!h.button("But_Web")->isVisibleTo(f));
    QVERIFY(h.button("But_Cancel")->isEnabled());
    QVERIFY(h.list()->isVisibleTo(f)); // the page stays as it was
    QCOMPARE(h.form->guidePage(), 5);
    QVERIFY(h.form->isScanning());

    // Units answer in another order this time: the list follows the replies.
    h.run(QStringLiteral("+other +here end"));
    QCOMPARE(h.list()->count(), 2);
    QCOMPARE(h.list()->item(0)->text(), QStringLiteral("NAS-C"));
    QCOMPARE(h.form->selectedRecord(), 1);
    QCOMPARE(h.label("Lab_NASinfo2"), QStringLiteral("10.0.0.5"));
    QVERIFY(!h.form->isScanning());
    QCOMPARE(wrapped, 1);
}

void Form_SelectNASTest::scanBar()
{
    Harness h;
    auto* bar = h.get<QProgressBar>("Bar1");
    for (int round = 0; round < 2; ++round) {
        h.form->But_RescanClick();
        QVERIFY(bar->isVisibleTo(h.form.get()));
        QCOMPARE(bar->value(), 0);
        QCOMPARE(h.form->scanBarPosition(), 0);
        QVERIFY(h.form->Timer_Bar()->isActive());
        QCOMPARE(h.form->Timer_Bar()->interval(), 50);
        for (int step = 1; step < 50; ++step)
            h.form->Timer_BarTimer();
        QCOMPARE(bar->value(), 98);
        QVERIFY(bar->isVisibleTo(h.form.get()));
        h.form->Timer_BarTimer(); // the 50th step fills it and hides it
        QCOMPARE(h.form->scanBarPosition(), 100);
        QVERIFY(!bar->isVisibleTo(h.form.get()));
        QVERIFY(!h.form->Timer_Bar()->isActive());
        h.form->onScanEnded(false); // the end of the scan does not touch the bar
        QVERIFY(!bar->isVisibleTo(h.form.get()));
    }
    // A scan that starts while the bar runs restarts it from 0.
    h.form->But_RescanClick();
    h.form->Timer_BarTimer();
    h.form->But_RescanClick();
    QCOMPARE(bar->value(), 0);
}

void Form_SelectNASTest::networkErrorsEndTheProgram_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");
    QTest::newRow("no LAN") << 1
                            << QStringLiteral("このPCは、LANに接続されていません。\nLANに接続後、"
                                              "もう一度お試しください。");
    QTest::newRow("no network") << 2
                                << QStringLiteral("ネットワーク接続を見つけることが出来ません。");
}

void Form_SelectNASTest::networkErrorsEndTheProgram()
{
    QFETCH(int, state);
    QFETCH(QString, text);
    Harness h(state);
    QCOMPARE(h.form->pcNetworkValues().NetworkState, state);
    h.run(QStringLiteral("activate +here"));
    MessageBoxCatcher boxes(QMessageBox::Ok);
    h.form->onScanEnded(false);
    QCOMPARE(boxes.boxes().size(), 1);
    const MessageBoxCatcher::Box& box = boxes.boxes().first();
    QCOMPARE(box.title, QStringLiteral("エラー"));
    QCOMPARE(box.text, text);
    QCOMPARE(box.standardButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(!box.hadParent);
    QCOMPARE(h.exitStatus, 0);
    // Nothing of the normal end ran: no window, no list.
    QVERIFY(!h.form->isVisible());
    QCOMPARE(h.list()->count(), 0);
}

void Form_SelectNASTest::replyPortFailure()
{
    Harness h;
    h.run(QStringLiteral("activate"));
    MessageBoxCatcher boxes(QMessageBox::Ok);
    h.form->onScanEnded(true);
    QCOMPARE(boxes.boxes().size(), 1);
    const MessageBoxCatcher::Box& box = boxes.boxes().first();
    QCOMPARE(box.title, QStringLiteral("エラー"));
    QVERIFY(box.text.contains(QStringLiteral("12310")));
    QCOMPARE(box.textFormat, Qt::PlainText);
    QCOMPARE(h.exitStatus, -1);
    // Then it ends as a scan that found nothing: the welcome page.
    QCOMPARE(h.form->guidePage(), 2);
    QVERIFY(h.form->isVisible());
}

void Form_SelectNASTest::closeAsks_data()
{
    QTest::addColumn<bool>("duringScan");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<bool>("byWindowManager");
    for (const bool wm : {false, true}) {
        const char* how = wm ? " (window manager's close)" : "";
        QTest::addRow("cancel%s", how) << false << int(QMessageBox::Cancel) << -1 << wm;
        QTest::addRow("ok%s", how) << false << int(QMessageBox::Ok) << 0 << wm;
        QTest::addRow("cancel during a scan%s", how)
            << true << int(QMessageBox::Cancel) << -1 << wm;
        QTest::addRow("ok during a scan%s", how) << true << int(QMessageBox::Ok) << 0 << wm;
    }
}

void Form_SelectNASTest::closeAsks()
{
    QFETCH(bool, duringScan);
    QFETCH(int, answer);
    QFETCH(int, exitStatus);
    QFETCH(bool, byWindowManager);
    Harness h;
    h.run(duringScan ? QStringLiteral("activate +here end rescan")
                     : QStringLiteral("activate +here end"));
    const int page = h.form->guidePage();
    MessageBoxCatcher boxes(static_cast<QMessageBox::StandardButton>(answer));
    if (byWindowManager) {
        // The window itself never closes; only the question's OK ends the program.
        QVERIFY(!h.form->close());
        QVERIFY(h.form->isVisible());
    } else {
        h.form->But_CancelClick();
    }
    QCOMPARE(boxes.boxes().size(), 1);
    const MessageBoxCatcher::Box& box = boxes.boxes().first();
    QCOMPARE(box.title, QStringLiteral("警告"));
    QCOMPARE(box.text, QStringLiteral("本当にプログラムを閉じてよろしいですか？"));
    QCOMPARE(box.standardButtons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.buttonTexts, QStringList({QStringLiteral("OK"), QStringLiteral("キャンセル")}));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QVERIFY(!box.hadParent);
    // Owner-less: the main window's buttons and timers stay alive while it asks.
    QVERIFY(!box.blocksOtherWindows);
    QCOMPARE(h.exitStatus, exitStatus);
    // Cancel leaves everything as it was, a running scan included.
    QCOMPARE(h.form->guidePage(), page);
    QCOMPARE(h.form->isScanning(), duringScan);
}

// Pictures and icons made for another ratio (a faked one here) are made
// again for the window's own when its screen or scale changes.
void Form_SelectNASTest::screenChangeRemakesPictures()
{
    for (const char* script : {"activate end", "activate +here end"}) {
        Harness h;
        h.run(QString::fromLatin1(script));
        h.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
        const qreal ratio = h.form->devicePixelRatioF();
        QPixmap stale(8, 8);
        stale.setDevicePixelRatio(ratio * 3);
        QList<QLabel*> shown;
        for (const char* name : {"WelcomeImage", "DescriptionImage1", "DescriptionImage2"})
            if (auto* picture = h.get<QLabel>(name); picture->isVisible()) {
                picture->setPixmap(stale);
                picture->setProperty("madeForRatio", ratio * 3);
                shown << picture;
            }
        for (int row = 0; row < h.list()->count(); ++row)
            h.list()->item(row)->setIcon(QIcon());
        QVERIFY(!shown.isEmpty() || h.list()->count() > 0);
        QEvent change(QEvent::ScreenChangeInternal);
        QCoreApplication::sendEvent(h.form.get(), &change);
        for (const QLabel* picture : shown)
            QVERIFY(picture->pixmap().width() > 8 &&
                    !qFuzzyCompare(picture->pixmap().devicePixelRatio(), ratio * 3));
        for (int row = 0; row < h.list()->count(); ++row)
            QVERIFY(!h.list()->item(row)->icon().isNull());
    }
}

// While the settings dialog is open a close request asks nothing and ends nothing.
void Form_SelectNASTest::closeIgnoredWhileSettingsOpen()
{
    Harness h;
    h.run(QStringLiteral("activate +here end"));
    QDialog dialog;
    h.form->setSettingsDialog(&dialog);
    dialog.show();
    MessageBoxCatcher boxes(QMessageBox::Ok);
    QVERIFY(!h.form->close());
    QVERIFY(h.form->isVisible());
    QVERIFY(boxes.boxes().isEmpty());
    QCOMPARE(h.exitStatus, -1);
    dialog.hide();
    h.form->close();
    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(h.exitStatus, 0);
}

void Form_SelectNASTest::startUpHandOver()
{
    Harness h;
    QWidget search;
    h.form->setSearchWindow(&search);
    QCOMPARE(h.form->Timer2()->interval(), 1);
    QVERIFY(h.form->Timer2()->isSingleShot());
    h.form->show();
    h.form->startFirstScan();
    QCOMPARE(h.scans, 1);
    h.form->Timer2Timer();
    QVERIFY(!h.form->isVisible());
    QVERIFY(search.isVisible());
    QVERIFY(!h.form->Timer2()->isActive());
    h.form->FormActivate(); // a late activation starts no second scan
    QCOMPARE(h.scans, 1);
    h.run(QStringLiteral("+here end"));
    QVERIFY(h.form->isVisible());
    QVERIFY(!search.isVisible());
    QCOMPARE(h.form->guidePage(), 5);
    // The start-up method does nothing once the start-up is over.
    h.form->startFirstScan();
    QCOMPARE(h.scans, 1);
}

void Form_SelectNASTest::timersFoundByName()
{
    // The window's three timers are its children under their names, and the
    // ones it runs: the scan's end, the start-up hand-over and the bar's steps.
    Harness h;
    const auto timer = [&h](const char* name) {
        return h.form->findChild<QTimer*>(QString::fromLatin1(name));
    };
    QCOMPARE(timer("Timer1"), h.form->Timer1());
    QCOMPARE(timer("Timer2"), h.form->Timer2());
    QCOMPARE(timer("Timer_Bar"), h.form->Timer_Bar());
    QVERIFY(timer("Timer1") && timer("Timer2") && timer("Timer_Bar"));
    QCOMPARE(timer("Timer1")->interval(), 3000);
    QVERIFY(timer("Timer1")->isSingleShot());
}

QTEST_MAIN(Form_SelectNASTest)
#include "Form_SelectNASTest.moc"
