// The settings dialog: its controls, its handlers, and what it shows of an
// attempt the apply sequence runs.

#include "settings/Form3.h"

#include "discovery/core/AddressSet.h"
#include "discovery/core/FixedText.h"
#include "discovery/core/Messages.h"
#include "discovery/core/OutsideSubnet.h"
#include "platform/core/SecureWipe.h"
#include "platform/gui/FocusCues.h"
#include "platform/gui/FormPlacement.h"
#include "platform/gui/HeldKeys.h"
#include "platform/gui/MessageBox.h"
#include "platform/gui/SecretField.h"
#include "platform/gui/WindowHints.h"
#include "platform/net/Cp932.h"
#include "settings/AddressControlAccess.h"
#include "settings/core/ManualProposal.h"
#include "settings/core/SettingsMessages.h"
#include "ui_Unit3.h"

#include <QApplication>
#include <QLineEdit>
#include <QShowEvent>
#include <functional>

namespace settings {

Form3::Form3(discovery::DeviceTable& table, const discovery::PcNetworkValues& pc,
             std::function<int()> selectedItemIndex, platform::ControlsTiming controls,
             QWidget* parent)
    : QDialog(parent), m_table(table), m_pc(pc), m_selectedItemIndex(std::move(selectedItemIndex)),
      m_sequence(this), m_timer2(this)
{
    m_timer2.setObjectName(QStringLiteral("Timer2"));
    m_timer2.setInterval(kStoredProgressStepMs);
    connect(&m_timer2, &QTimer::timeout, this, &Form3::Timer2Timer);
    connect(&m_sequence, &ApplySequence::phaseChanged, this, &Form3::phaseChanged);
    connect(&m_sequence, &ApplySequence::finished, this, &Form3::FinishSetup);

    if (controls == platform::ControlsTiming::Now)
        makeControls();
}

void Form3::setVisible(bool visible)
{
    if (visible)
        makeControls();
    QDialog::setVisible(visible);
}

void Form3::makeControls()
{
    if (m_ui)
        return;
    m_ui = std::make_unique<Ui::Form3>();
    m_ui->setupUi(this);

    // A fixed frame with a title and nothing else in the title bar. A close
    // request from the window manager is Cancel (see reject()).
    resize(328, 278);
    platform::useTitleOnlyFrame(this, Qt::Dialog);
    platform::carryFocusCues(this);
    // A request goes out only for a real press of OK: never for the repeats
    // of a key held down since some other window.
    platform::ignoreHeldKeyRepeats();
    applyPixelFonts();
    for (QLabel* label : {m_ui->LBIPAddr, m_ui->LBNetMask, m_ui->LBGateWay, m_ui->Label4,
                          m_ui->Label1, m_ui->Label2})
        label->adjustSize();
    m_ui->ProgressBar1->setVisible(false);

    // Checking a radio button, by click or from code, runs the mode switch;
    // a button that was already checked does not.
    for (QRadioButton* radio : {m_ui->RBtnAutoAssignIP, m_ui->RBtnManualSetupIP}) {
        connect(radio, &QRadioButton::toggled, this, [this, radio](bool checked) {
            if (checked)
                RBtnAutoAssignIPClick(radio);
        });
    }
    onControlEnter(m_ui->IPAddressControl, [this] { IPAddressControlEnter(); });
    onControlEnter(m_ui->MaskAddressControl, [this] { MaskAddressControlEnter(); });
    onControlEnter(m_ui->GatewayAddressControl, [this] { GatewayAddressControlEnter(); });
    connect(m_ui->Button1, &QPushButton::clicked, this, &Form3::Button1Click);
    connect(m_ui->Button2, &QPushButton::clicked, this, &Form3::Button2Click);
}

Form3::~Form3() = default;

void Form3::setAddressProber(std::unique_ptr<AddressProber> prober)
{
    m_sequence.setAddressProber(std::move(prober));
}

void Form3::setNeighbourLookup(std::function<bool(std::string_view)> lookup)
{
    m_sequence.setNeighbourLookup(std::move(lookup));
}

// The form description carries point sizes; the dialog's faces are given as
// character heights in pixels.
void Form3::applyPixelFonts()
{
    const struct
    {
        QWidget* widget;
        int pixels;
    } sizes[] = {
        {this, 12},
        {m_ui->RBtnAutoAssignIP, 15},
        {m_ui->RBtnManualSetupIP, 15},
        {m_ui->LBIPAddr, 12},
        {m_ui->LBNetMask, 12},
        {m_ui->LBGateWay, 12},
        {m_ui->IPAddressControl, 12},
        {m_ui->MaskAddressControl, 12},
        {m_ui->GatewayAddressControl, 12},
        {m_ui->Label4, 15},
        {m_ui->Label1, 15},
        {m_ui->Label2, 15},
        {m_ui->Edit1, 13},
        {m_ui->Edit2, 13},
        {m_ui->Button1, 15},
        {m_ui->Button2, 12},
    };
    for (const auto& entry : sizes)
        platform::setPixelFont(entry.widget, entry.pixels);
}

const discovery::DeviceRecord* Form3::chosenRecord() const
{
    const int index = m_selectedItemIndex ? m_selectedItemIndex() : -1;
    return m_table.record(index + 1);
}

void Form3::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Each opening runs the start values; a show that the window system
    // reports (a restore from minimised) is no new opening.
    if (event->spontaneous())
        return;
    platform::centreOnDesktop(this);
    FormActivate();
}

void Form3::FormActivate()
{
    const discovery::DeviceRecord* record = chosenRecord();
    // No record can be chosen only when the dialog is opened without a
    // selection; it then behaves as for a unit inside the subnet.
    if (record && discovery::foundOutsideSubnet(*record)) {
        m_ui->RBtnAutoAssignIP->setEnabled(true);
        m_ui->RBtnAutoAssignIP->setChecked(true);
        m_ui->RBtnAutoAssignIP->setFocus(Qt::OtherFocusReason);
        setAddressControlsEnabled(false);
    } else {
        m_ui->RBtnAutoAssignIP->setEnabled(false);
        m_ui->RBtnManualSetupIP->setChecked(true);
        m_ui->RBtnManualSetupIP->setFocus(Qt::OtherFocusReason);
    }
    m_ui->ProgressBar1->setValue(0);
    m_ui->Button1->setFocus(Qt::OtherFocusReason);
    m_timer2.setInterval(kProgressStepMs);
    m_sequence.Timer1()->setInterval(kReplyWaitMs);
    forgetCredentials();
    m_sequence.setNewValues(discovery::textOf(m_pc.PcIpAddress),
                            discovery::textOf(m_pc.PcSubnetMask),
                            discovery::textOf(m_pc.PcGateway));
}

void Form3::setAddressControlsEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_ui->IPAddressControl, m_ui->MaskAddressControl, m_ui->GatewayAddressControl,
             m_ui->LBIPAddr, m_ui->LBNetMask, m_ui->LBGateWay})
        w->setEnabled(enabled);
}

void Form3::IPAddressControlEnter()
{
    keepFocusOn(m_ui->IPAddressControl);
}

void Form3::MaskAddressControlEnter()
{
    keepFocusOn(m_ui->MaskAddressControl);
}

void Form3::GatewayAddressControlEnter()
{
    keepFocusOn(m_ui->GatewayAddressControl);
}

// An address control, on receiving the focus, takes the keyboard focus
// again; focus already on one of its fields (a click into the third octet,
// say) stays where it is.
void Form3::keepFocusOn(QWidget* control)
{
    const QWidget* focus = QApplication::focusWidget();
    if (focus != control && !control->isAncestorOf(focus))
        control->setFocus(Qt::OtherFocusReason);
}

void Form3::RBtnAutoAssignIPClick(QObject* sender)
{
    if (sender != nullptr && sender->objectName() == QLatin1String("RBtnAutoAssignIP")) {
        setAddressControlsEnabled(false);
        for (AddressControl* control :
             {m_ui->IPAddressControl, m_ui->MaskAddressControl, m_ui->GatewayAddressControl})
            setDottedText(control, "0.0.0.0");
        return;
    }
    setAddressControlsEnabled(true);
    fillManualFields();
    focusAddressForTyping();
    // When an arrow key switched the mode, Qt gives the focus to the radio
    // button after this handler has run: take it on from there.
    QTimer::singleShot(0, this, [this] {
        if (m_ui->RBtnManualSetupIP->hasFocus())
            focusAddressForTyping();
    });
}

// The address's first field, its text selected so that typing replaces it,
// as Tab into it does.
void Form3::focusAddressForTyping()
{
    m_ui->IPAddressControl->setFocus(Qt::OtherFocusReason);
    if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        field && m_ui->IPAddressControl->isAncestorOf(field))
        field->selectAll();
}

// The PC's own values, with the address turned into the first host of the
// subnet octet by octet as the mask control shows it.
void Form3::fillManualFields()
{
    setDottedText(m_ui->IPAddressControl, m_pc.PcIpAddress);
    setDottedText(m_ui->MaskAddressControl, m_pc.PcSubnetMask);
    setDottedText(m_ui->GatewayAddressControl, m_pc.PcGateway);
    Octets address{};
    Octets mask{};
    for (int i = 0; i < 4; ++i) {
        address[i] = octet(m_ui->IPAddressControl, i);
        mask[i] = octet(m_ui->MaskAddressControl, i);
    }
    const Octets proposal = proposeManualAddress(address, mask);
    for (int i = 3; i >= 0; --i) {
        if (proposal[i] != address[i])
            setOctet(m_ui->IPAddressControl, i, proposal[i]);
    }
}

void Form3::Button1Click()
{
    ApplySettings();
}

void Form3::Button2Click()
{
    reject();
}

void Form3::reject()
{
    // Neither Escape nor a close request ends the dialog while an exchange runs;
    // Cancel itself is disabled then.
    if (phase() != Phase::Idle)
        return;
    forgetCredentials();
    QDialog::reject();
}

void Form3::ApplySettings()
{
    if (phase() != Phase::Idle)
        return;
    if (m_ui->RBtnAutoAssignIP->isChecked()) {
        m_sequence.setNewValues(discovery::textOf(m_pc.PcIpAddress),
                                discovery::textOf(m_pc.PcSubnetMask),
                                discovery::textOf(m_pc.PcGateway));
    } else {
        m_sequence.setNewValues(dottedText(m_ui->IPAddressControl).toStdString(),
                                dottedText(m_ui->MaskAddressControl).toStdString(),
                                dottedText(m_ui->GatewayAddressControl).toStdString());
    }

    switch (discovery::CheckAddressSet(NewAddress(), NewMask(), NewGateway())) {
    case discovery::AddressSetOk:
        StartSetup();
        break;
    case discovery::AddressSetBadAddress:
        showMessage(discovery::messages::kErrorTitle, messages::kBadAddress);
        break;
    case discovery::AddressSetBadMask:
        showMessage(discovery::messages::kErrorTitle, messages::kBadMask);
        break;
    default:
        showMessage(discovery::messages::kErrorTitle, messages::kBadGateway);
        break;
    }
}

void Form3::enterBusy()
{
    m_ui->ProgressBar1->setVisible(true);
    m_ui->Button1->setEnabled(false);
    m_ui->Button2->setEnabled(false);
    m_timer2.start();
}

// The first steps of every end of an attempt: the bar stopped, full and
// hidden.
void Form3::leaveBusy()
{
    m_timer2.stop();
    m_ui->ProgressBar1->setValue(kProgressFull);
    m_ui->ProgressBar1->setVisible(false);
}

// The last steps of every end of an attempt: buttons back, bar at 0, focus
// on OK, the bar's interval as an opening sets it.
void Form3::restoreIdleControls()
{
    m_ui->Button1->setEnabled(true);
    m_ui->Button2->setEnabled(true);
    m_ui->ProgressBar1->setValue(0);
    m_ui->Button1->setFocus(Qt::OtherFocusReason);
    m_timer2.setInterval(kProgressStepMs);
}

// The idle state after an attempt that ended before or without a result.
void Form3::returnToIdle()
{
    leaveBusy();
    restoreIdleControls();
}

void Form3::StartSetup()
{
    const discovery::DeviceRecord* record = chosenRecord();
    if (!record)
        return;
    const bool automatic = m_ui->RBtnAutoAssignIP->isChecked();

    QByteArray userName = platform::cp932::encode(m_ui->Edit1->text());
    // The password goes from the field's own buffer into this one, a
    // character at a time, and is wiped here once the request has gone; the
    // exchange reads it in place (fromRawData copies nothing).
    char passwordBytes[kSetupBufferSize];
    const qsizetype passwordSize =
        platform::cp932::encodeInto(m_ui->Edit2->text(), passwordBytes, sizeof passwordBytes);
    const QByteArray password =
        QByteArray::fromRawData(passwordBytes, passwordSize < 0 ? 0 : passwordSize);
    const auto wipeCredentials = [&userName, &passwordBytes] {
        platform::secureWipe(passwordBytes, sizeof passwordBytes);
        platform::secureWipe(userName.data(), static_cast<std::size_t>(userName.size()));
    };

    // Credentials too long for the request are refused before anything is
    // probed or sent.
    if (passwordSize < 0 || !m_sequence.requestFits(*record, automatic, userName, password)) {
        wipeCredentials();
        showMessage(discovery::messages::kErrorTitle, messages::kCredentialsTooLong);
        return;
    }

    enterBusy();
    const ApplySequence::Started started = m_sequence.start(*record, automatic, userName, password);
    wipeCredentials();

    switch (started.outcome) {
    case ApplySequence::Started::Outcome::Sent:
        // The bar measures the 30 s wait from here, whatever the search used of it.
        m_ui->ProgressBar1->setValue(0);
        break;
    case ApplySequence::Started::Outcome::SearchFailed:
        showMessage(discovery::messages::kErrorTitle, started.message.c_str());
        returnToIdle();
        break;
    case ApplySequence::Started::Outcome::NotSent:
        returnToIdle();
        showMessage(discovery::messages::kErrorTitle, started.message.c_str());
        break;
    }
}

void Form3::FinishSetup(bool accepted)
{
    leaveBusy();
    if (accepted)
        showMessage(messages::kSuccessTitle, messages::kSuccess);
    else
        showMessage(messages::kFailureTitle, messages::kFailure);
    restoreIdleControls();
    if (accepted) {
        forgetCredentials();
        accept();
    }
}

void Form3::Timer2Timer()
{
    m_ui->ProgressBar1->setValue(m_ui->ProgressBar1->value() + 1);
}

// The hidden dialog keeps no credentials until its next opening, not even
// in the fields' undo history.
void Form3::forgetCredentials()
{
    if (!m_ui)
        return; // never opened: nothing was typed
    platform::eraseFieldText(m_ui->Edit1);
    m_ui->Edit2->clear();
}

void Form3::showMessage(const char* title, const char* text)
{
    platform::messageBox(QString::fromUtf8(title), QString::fromUtf8(text));
}

} // namespace settings
