// The main window's behaviour: the guide pages, the scan and the device list,
// the details of the selected unit and the actions its buttons open.

#include "mainwindow/Form_SelectNAS.h"

#include "discovery/DiscoveryExchange.h"
#include "discovery/LocalNetworkCheck.h"
#include "discovery/RecordText.h"
#include "discovery/core/DeviceRecord.h"
#include "discovery/core/DeviceTable.h"
#include "discovery/core/FixedText.h"
#include "discovery/core/LocalNetwork.h"
#include "discovery/core/Messages.h"
#include "mainwindow/GuidePictures.h"
#include "mainwindow/MessageBoxes.h"
#include "mainwindow/UnitIcons.h"
#include "mainwindow/core/ActionButtons.h"
#include "mainwindow/core/DiskFigures.h"
#include "mainwindow/core/GuidePage.h"
#include "mainwindow/core/GuidePicture.h"
#include "mainwindow/core/GuideTexts.h"
#include "mainwindow/core/ScanProgressBar.h"
#include "mainwindow/core/UnitIcon.h"
#include "mainwindow/core/UnitIconDescription.h"
#include "platform/core/DottedQuad.h"
#include "platform/gui/FormPlacement.h"
#include "platform/gui/Opener.h"
#include "platform/gui/PlainText.h"
#include "platform/gui/SelectionFocus.h"
#include "platform/gui/WindowHints.h"
#include "ui_Unit1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace mainwindow {
namespace {

constexpr int kFontPixels = 13;
constexpr int kSmallButtonFontPixels = 12;
// The screen ratio a guide picture was made for, kept on its label.
constexpr const char* kMadeForRatio = "madeForRatio";

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

QString utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

// A value that runs past the window's right edge stays readable whole: as the
// label's tooltip and to assistive tools. A value that fits gets neither.
// The value is a unit's text, so the tooltip shows it literally.
void offerWholeTextWhenCut(QLabel* label)
{
    const QWidget* window = label->window();
    const int right = label->mapTo(window, QPoint(label->width(), 0)).x();
    const QString whole = right > window->width() ? label->text() : QString();
    label->setToolTip(platform::plainToolTip(whole));
    label->setAccessibleDescription(whole);
}

// The unit's address as the subnet check read it (octal and hexadecimal parts
// included), so that the share and the page opened are those of the unit the
// buttons were offered for; empty when the text names no address.
QString openedAddress(const discovery::DeviceRecord& record)
{
    return utf8(platform::canonicalAddress(discovery::textOf(record.IpAddress)));
}

} // namespace

Form_SelectNAS::Form_SelectNAS(Controls controls, QWidget* parent)
    : Form_SelectNAS(
          [](discovery::PcNetworkValues& pc) { return discovery::CheckLocalNetwork(pc); }, controls,
          parent)
{
}

Form_SelectNAS::Form_SelectNAS(const NetworkCheck& networkCheck, Controls controls, QWidget* parent)
    : QWidget(parent, Qt::Window), m_table(std::make_unique<discovery::DeviceTable>()),
      m_timer2(this), m_timerBar(this)
{
    if (controls == Controls::Now)
        makeControls();
    // The PC's adapter is chosen once, at creation; what it found is only
    // reported at the end of the first scan.
    m_adapters = networkCheck(m_pc);
    m_unitPc = m_pc;

    m_exchange = std::make_unique<discovery::DiscoveryExchange>(*m_table, m_pc, this);
    m_exchange->setAdapters(m_adapters);
    connect(m_exchange.get(), &discovery::DiscoveryExchange::scanStarting, this,
            &Form_SelectNAS::onScanStarting);
    connect(m_exchange.get(), &discovery::DiscoveryExchange::scanEnded, this,
            &Form_SelectNAS::onScanEnded);
    m_scanStarter = [this] { m_exchange->StartScan(); };
    m_exitHandler = [](int status) { QCoreApplication::exit(status); };

    m_timerBar.setObjectName(QStringLiteral("Timer_Bar"));
    m_timerBar.setInterval(kScanBarStepMilliseconds);
    connect(&m_timerBar, &QTimer::timeout, this, &Form_SelectNAS::Timer_BarTimer);

    m_timer2.setObjectName(QStringLiteral("Timer2"));
    m_timer2.setSingleShot(true);
    m_timer2.setInterval(1);
    connect(&m_timer2, &QTimer::timeout, this, &Form_SelectNAS::Timer2Timer);
    m_timer2.start();
}

Form_SelectNAS::~Form_SelectNAS() = default;

QTimer* Form_SelectNAS::Timer1()
{
    return m_exchange->Timer1();
}

void Form_SelectNAS::makeControls()
{
    if (m_ui)
        return;
    m_ui = std::make_unique<Ui::Form_SelectNAS>();
    m_ui->setupUi(this);
    setUpControls();
    // Made while a scan runs: the controls take the state the scan gave them.
    if (m_scanning)
        disableForScan();
    m_ui->Bar1->setValue(ScanBarPosition);
    m_ui->Bar1->setVisible(m_timerBar.isActive());
}

void Form_SelectNAS::setVisible(bool visible)
{
    if (visible)
        makeControls();
    QWidget::setVisible(visible);
}

Ui::Form_SelectNAS& Form_SelectNAS::ui()
{
    makeControls();
    return *m_ui;
}

void Form_SelectNAS::setUpControls()
{
    // A border and a title, nothing in the title bar; 閉じる is the way out.
    platform::useTitleOnlyFrame(this, Qt::Window);
    platform::centreOnDesktop(this);

    // The form description names the faces; pixel heights are set here,
    // since a form description can only give point sizes.
    platform::setPixelFont(this, kFontPixels);
    platform::setPixelFont(m_ui->But_Samba, kSmallButtonFontPixels);
    platform::setPixelFont(m_ui->But_Web, kSmallButtonFontPixels);

    QPalette buttonFace = m_ui->DescriptionBox->palette();
    buttonFace.setColor(QPalette::Base, palette().color(QPalette::Button));
    m_ui->DescriptionBox->setPalette(buttonFace);
    m_ui->DescriptionBox->setUndoRedoEnabled(false);

    // Each guide picture is loaded when it first comes on screen.
    for (QLabel* picture : {m_ui->WelcomeImage, m_ui->DescriptionImage1, m_ui->DescriptionImage2})
        picture->installEventFilter(this);

    m_captionLabels = {m_ui->Host_Name, m_ui->IP_Address,  m_ui->Net_Mask,   m_ui->Gateway,
                       m_ui->HD_Name,   m_ui->HD_Capacity, m_ui->Availaable, m_ui->HD_User};
    m_valueLabels = {m_ui->Lab_NASinfo1, m_ui->Lab_NASinfo2, m_ui->Lab_NASinfo3,
                     m_ui->Lab_NASinfo4, m_ui->Lab_NASinfo5, m_ui->Lab_NASinfo6,
                     m_ui->Lab_NASinfo7, m_ui->Lab_NASinfo8};
    for (QLabel* label : m_captionLabels)
        label->adjustSize();
    m_ui->LBVersion->adjustSize();
    // The value labels show what a unit sent: as characters, never as markup.
    for (QLabel* label : m_valueLabels)
        label->setTextFormat(Qt::PlainText);

    QListWidget* list = m_ui->Lis_NASList;
    // Room for a host name of 15 characters on one line under its icon
    // (switching to the icon view drops the grid the form description set).
    list->setGridSize(QSize(112, 112));
    platform::showFocusInSelection(list);
    // The list reports every item that gains or loses the selection, the old
    // one first, so the panel ends on the new one.
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected) {
                for (const QModelIndex& index : deselected.indexes())
                    Lis_NASListSelectItem(index.row(), false);
                for (const QModelIndex& index : selected.indexes())
                    Lis_NASListSelectItem(index.row(), true);
            });
    list->viewport()->installEventFilter(this);

    connect(m_ui->But_Next, &QPushButton::clicked, this, &Form_SelectNAS::But_NextClick);
    connect(m_ui->But_Pre, &QPushButton::clicked, this, &Form_SelectNAS::But_PreClick);
    connect(m_ui->But_Rescan, &QPushButton::clicked, this, &Form_SelectNAS::But_RescanClick);
    connect(m_ui->But_Samba, &QPushButton::clicked, this, &Form_SelectNAS::But_SambaClick);
    connect(m_ui->But_Web, &QPushButton::clicked, this, &Form_SelectNAS::But_WebClick);
    connect(m_ui->But_Cancel, &QPushButton::clicked, this, &Form_SelectNAS::But_CancelClick);
    // Return presses the focused button too, as Space does, as on Windows
    // (Qt leaves that to dialogs).
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(true);
}

void Form_SelectNAS::setSearchWindow(QWidget* form2)
{
    m_searchWindow = form2;
}

void Form_SelectNAS::setSettingsDialog(QDialog* form3)
{
    m_settingsDialog = form3;
}

void Form_SelectNAS::setScanStarter(std::function<void()> starter)
{
    m_scanStarter = std::move(starter);
}

void Form_SelectNAS::setExitHandler(std::function<void(int)> handler)
{
    m_exitHandler = std::move(handler);
}

void Form_SelectNAS::startFirstScan()
{
    FormActivate();
}

int Form_SelectNAS::selectedItemIndex() const
{
    if (!m_ui)
        return -1;
    const QModelIndexList selected = m_ui->Lis_NASList->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

bool Form_SelectNAS::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    // The window went to another screen, or its screen's scale changed.
    if (e->type() == QEvent::ScreenChangeInternal && m_ui)
        remakePictures();
    return QWidget::event(e);
}

void Form_SelectNAS::remakePictures()
{
    // A hidden picture is remade when it next shows.
    for (QLabel* picture : {m_ui->WelcomeImage, m_ui->DescriptionImage1, m_ui->DescriptionImage2})
        if (picture->isVisibleTo(this))
            loadGuidePicture(picture);
    QListWidget* list = m_ui->Lis_NASList;
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem* item = list->item(row);
        item->setIcon(
            Img_NasIcom.icon(item->data(Qt::UserRole).toInt(), list->devicePixelRatioF()));
    }
}

void Form_SelectNAS::loadGuidePicture(QLabel* picture)
{
    // Made once per screen ratio: the label remembers the one it was made for.
    const qreal ratio = picture->devicePixelRatioF();
    if (!picture->pixmap().isNull() && picture->property(kMadeForRatio).toReal() == ratio)
        return;
    const GuidePicture id = picture == m_ui->WelcomeImage        ? GuidePicture::Welcome
                            : picture == m_ui->DescriptionImage1 ? GuidePicture::PowerOn
                                                                 : GuidePicture::Network;
    picture->setPixmap(guidePicture(id, ratio));
    picture->setProperty(kMadeForRatio, ratio);
}

bool Form_SelectNAS::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::Show && watched->parent() == this) {
        if (auto* picture = qobject_cast<QLabel*>(watched))
            loadGuidePicture(picture);
        return QWidget::eventFilter(watched, e);
    }
    QListWidget* list = m_ui->Lis_NASList;
    const bool press = e->type() == QEvent::MouseButtonPress;
    const bool release = e->type() == QEvent::MouseButtonRelease;
    if (watched != list->viewport() || !(press || release))
        return QWidget::eventFilter(watched, e);
    const auto* mouse = dynamic_cast<const QMouseEvent*>(e);
    if (!mouse || mouse->button() != Qt::LeftButton)
        return QWidget::eventFilter(watched, e);
    if (press && !list->indexAt(mouse->position().toPoint()).isValid()) {
        // A press beside every item leaves none selected (the view itself
        // keeps a single selection); the click that follows clears the panel.
        list->selectionModel()->clearSelection();
    } else if (release) {
        Lis_NASListClick();
    }
    return QWidget::eventFilter(watched, e);
}

void Form_SelectNAS::FormActivate()
{
    // Only the start-up scan is started here, and only once: the start-up
    // code may call this before any activation arrives.
    if (GuidePage == PageStartupScan && !m_scanning)
        But_RescanClick();
}

void Form_SelectNAS::Timer2Timer()
{
    m_timer2.stop();
    hide();
    if (m_searchWindow) {
        m_searchWindow->show();
        m_searchWindow->raise();
    }
}

void Form_SelectNAS::ShowGuidePage()
{
    Ui::Form_SelectNAS& ui = this->ui();
    ui.DescriptionBox->clear();
    const PageLayout* layout = guidePageLayout(GuidePage);
    if (!layout)
        return;

    ui.WelcomeImage->setVisible(layout->picture == GuidePicture::Welcome);
    ui.DescriptionImage1->setVisible(layout->picture == GuidePicture::PowerOn);
    ui.DescriptionImage2->setVisible(layout->picture == GuidePicture::Network);

    ui.Lis_NASList->setVisible(layout->listGroupVisible);
    for (QLabel* label : m_captionLabels)
        label->setVisible(layout->listGroupVisible);
    for (QLabel* label : m_valueLabels)
        label->setVisible(layout->listGroupVisible);

    // The texts keep their CR LF line ends; the text box wants plain line feeds.
    ui.DescriptionBox->setPlainText(
        utf8(guideText(layout->guideText)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    ui.But_Next->setText(utf8(layout->nextIsSettings ? kSettingsCaption : kNextCaption));
    ui.But_Next->setEnabled(layout->nextEnabled);
    if (const std::optional<bool> pre = preButtonVisible(*layout, m_table->DeviceCount))
        ui.But_Pre->setVisible(*pre);
    ui.But_Rescan->setVisible(layout->rescanVisible);
    ui.But_Samba->setVisible(false);
    ui.But_Web->setVisible(false);
}

void Form_SelectNAS::But_NextClick()
{
    const NextMove move = pageAfterNext(GuidePage);
    GuidePage = move.page;
    if (move.startsScan)
        But_RescanClick();
    if (!move.opensSettings) {
        ShowGuidePage();
        return;
    }
    if (!m_settingsDialog)
        return;
    if (m_settingsDialog->exec() != QDialog::Rejected)
        But_RescanClick();
}

void Form_SelectNAS::But_PreClick()
{
    GuidePage = pageAfterPre(GuidePage);
    ShowGuidePage();
}

// The start of a scan and its bar touch controls only once they exist: the
// start-up scan begins before they are made, and making them catches up.
void Form_SelectNAS::But_RescanClick()
{
    discovery::ClearDeviceTable(*m_table);
    m_scanning = true;
    if (m_ui)
        disableForScan();
    m_scanStarter();
}

void Form_SelectNAS::disableForScan()
{
    Ui::Form_SelectNAS& ui = *m_ui;
    for (QPushButton* b : {ui.But_Samba, ui.But_Web, ui.But_Next, ui.But_Pre, ui.But_Rescan})
        b->setEnabled(false);
    ui.But_Samba->setVisible(false);
    ui.But_Web->setVisible(false);
    ui.Lis_NASList->clear();
    clearValueLabels();
}

void Form_SelectNAS::onScanStarting()
{
    ScanBarPosition = 0;
    m_timerBar.start();
    if (m_ui) {
        m_ui->Bar1->setValue(0);
        m_ui->Bar1->setVisible(true);
    }
}

void Form_SelectNAS::Timer_BarTimer()
{
    ScanBarPosition += kScanBarStep;
    const bool full = ScanBarPosition >= kScanBarFull;
    if (m_ui) {
        m_ui->Bar1->setValue(ScanBarPosition);
        if (m_ui->Bar1->value() == kScanBarFull || full) {
            m_timerBar.stop();
            m_ui->Bar1->setVisible(false);
        }
    } else if (full) {
        m_timerBar.stop();
    }
}

void Form_SelectNAS::onScanEnded(bool replyPortFailed)
{
    m_scanning = false;
    if (m_pc.NetworkState == discovery::NetworkNoUsableAdapter) {
        showError(utf8(discovery::messages::kNotConnected));
        endProcess(0);
        return;
    }
    if (m_pc.NetworkState == discovery::NetworkAdapterListFailed) {
        showError(utf8(discovery::messages::kNoNetwork));
        endProcess(0);
        return;
    }
    if (replyPortFailed) {
        // Nobody could have been heard: say why instead of an empty result.
        discovery::ClearDeviceTable(*m_table);
        showError(utf8(m_exchange->replyPortMessage()));
    }

    Ui::Form_SelectNAS& ui = this->ui();
    for (QPushButton* b : {ui.But_Rescan, ui.But_Samba, ui.But_Web, ui.But_Next, ui.But_Pre})
        b->setEnabled(true);

    // The page is chosen before the window shows, so that its activation
    // does not take it for the start-up and scan again.
    GuidePage = pageAtScanEnd(GuidePage, m_table->DeviceCount);
    ShowGuidePage();

    const auto bringUp = [this] {
        show();
        raise();
        activateWindow();
    };
    if (m_firstActivation)
        std::exchange(m_firstActivation, nullptr)(bringUp);
    else
        bringUp();
    if (m_searchWindow)
        m_searchWindow->hide();

    FillDeviceList();
    if (m_table->DeviceCount >= 1)
        selectFirstUnit();
}

void Form_SelectNAS::FillDeviceList()
{
    QListWidget* list = ui().Lis_NASList;
    list->clear();
    for (int n = 1; n <= m_table->DeviceCount; ++n) {
        discovery::DeviceRecord* record = m_table->record(n);
        if (!record)
            break;
        const int icon = ChooseUnitIcon(
            *record,
            discovery::unitNetworkValues(m_pc, m_adapters, record->ArrivalInterface).PcNetwork);
        auto* item = new QListWidgetItem(discovery::fieldText(record->HostName));
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        item->setIcon(Img_NasIcom.icon(icon, list->devicePixelRatioF()));
        item->setData(Qt::UserRole, icon);
        // What the icon shows, for screen readers; the caption is the name.
        item->setData(Qt::AccessibleDescriptionRole, utf8(unitIconDescription(icon)));
        list->addItem(item);
    }
}

void Form_SelectNAS::selectFirstUnit()
{
    // Item 0 selected and focused directly through the view; its selection
    // event fills the panel.
    QListWidget* list = ui().Lis_NASList;
    list->setFocus(Qt::OtherFocusReason);
    list->selectionModel()->setCurrentIndex(list->model()->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect);
}

void Form_SelectNAS::Lis_NASListSelectItem(int itemIndex, bool selected)
{
    // Acts on the item the event names, whether it gained or lost the selection.
    Q_UNUSED(selected);
    const int n = itemIndex + 1;
    if (itemIndex < 0 || !m_table->record(n)) {
        SelectedRecord = 0;
        ClearDetails();
        applyActionButtons(0);
        return;
    }
    ShowDetails(n);
    SelectedRecord = n;
    applyActionButtons(n);
}

void Form_SelectNAS::Lis_NASListClick()
{
    if (selectedItemIndex() != -1)
        return;
    SelectedRecord = 0;
    ClearDetails();
    applyActionButtons(0);
}

void Form_SelectNAS::applyActionButtons(int recordNumber)
{
    const discovery::DeviceRecord* record = m_table->record(recordNumber);
    m_unitPc =
        record ? discovery::unitNetworkValues(m_pc, m_adapters, record->ArrivalInterface) : m_pc;
    const ActionButtons buttons = actionButtonsFor(record, m_unitPc.PcNetwork);
    Ui::Form_SelectNAS& ui = this->ui();
    ui.But_Samba->setEnabled(buttons.sambaEnabled);
    ui.But_Samba->setVisible(buttons.sambaVisible);
    ui.But_Web->setEnabled(buttons.webEnabled);
    ui.But_Web->setVisible(buttons.webVisible);
    ui.But_Next->setEnabled(buttons.nextEnabled);
}

void Form_SelectNAS::ShowDetails(int recordNumber)
{
    const discovery::DeviceRecord* record = m_table->record(recordNumber);
    if (!record)
        return;
    makeControls();
    // The address as the share and web buttons will open it: a unit's
    // "192.168.1.010" is shown as the 192.168.1.8 it means, not as a text
    // that most people read as .10.
    const QString opened = openedAddress(*record);
    // In the order of the value labels, Lab_NASinfo1 first.
    const std::array<QString, 8> texts = {
        discovery::fieldText(record->HostName),
        opened.isEmpty() ? discovery::fieldText(record->IpAddress) : opened,
        discovery::fieldText(record->SubnetMask),
        discovery::fieldText(record->GatewayAddress),
        discovery::fieldText(record->DiskModel),
        utf8(diskSizeText(discovery::textOf(record->DiskCapacity))),
        utf8(diskSizeText(discovery::textOf(record->DiskFree))),
        utf8(freeRatioText(discovery::textOf(record->DiskCapacity),
                           discovery::textOf(record->DiskFree))),
    };
    for (std::size_t i = 0; i < m_valueLabels.size(); ++i) {
        m_valueLabels[i]->setText(texts[i]);
        m_valueLabels[i]->adjustSize();
        offerWholeTextWhenCut(m_valueLabels[i]);
    }
}

void Form_SelectNAS::ClearDetails()
{
    makeControls();
    clearValueLabels();
}

void Form_SelectNAS::clearValueLabels()
{
    for (QLabel* label : m_valueLabels) {
        label->clear();
        offerWholeTextWhenCut(label);
    }
}

void Form_SelectNAS::But_SambaClick()
{
    if (const discovery::DeviceRecord* record = m_table->record(SelectedRecord))
        platform::openShare(openedAddress(*record));
}

void Form_SelectNAS::But_WebClick()
{
    if (const discovery::DeviceRecord* record = m_table->record(SelectedRecord))
        platform::openWebPage(openedAddress(*record));
}

void Form_SelectNAS::But_CancelClick()
{
    // One question at a time: a close request while it is open adds none.
    if (m_askingToClose)
        return;
    m_askingToClose = true;
    const bool close = askToClose();
    m_askingToClose = false;
    if (close)
        endProcess(0);
}

void Form_SelectNAS::closeEvent(QCloseEvent* e)
{
    // The window itself never closes: the process ends through the question's
    // OK. While the settings dialog is open nothing is asked at all.
    e->ignore();
    if (m_settingsDialog && m_settingsDialog->isVisible())
        return;
    But_CancelClick();
}

void Form_SelectNAS::endProcess(int status)
{
    m_exitHandler(status);
}

} // namespace mainwindow
