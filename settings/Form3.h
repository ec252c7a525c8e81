#pragma once
// The settings dialog: gives one unit a typed address, mask and gateway, or
// (for a unit outside the PC's subnet) a free address of the PC's subnet found
// by probing, and carries the change to the unit by the setup exchange.

#include "discovery/core/DeviceTable.h"
#include "discovery/core/LocalNetwork.h"
#include "platform/gui/ControlsTiming.h"
#include "probe/TOnReplyEvent.h"
#include "probe/core/TReplyStatus.h"
#include "settings/AddressProber.h"
#include "settings/SetupExchange.h"

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <string_view>

namespace Ui {
class Form3;
}

namespace settings {

inline constexpr int kNewTextSize = 32;
inline constexpr int kReplyWaitMs = 30000;
inline constexpr int kProgressStepMs = 300;
inline constexpr int kProgressFull = 100; // one step per tick: full after 100 ticks
inline constexpr int kStoredProgressStepMs = 150;
inline constexpr int kProbeWaitMs = 100;
inline constexpr int kStoredProbeWaitMs = 1000;
inline constexpr int kPauseAfterProbeMs = 500;

class Form3 : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form3)

public:
    // The table and the PC values belong to the main window and outlive the
    // dialog; selectedItemIndex gives the device list's selected index (the
    // chosen record is that index + 1).
    // With ControlsTiming::Later the controls are made when the dialog is
    // first shown (or by makeControls()): the start-up makes it so, and the
    // fonts and widgets it needs are loaded when it is first opened.
    Form3(discovery::DeviceTable& table, const discovery::PcNetworkValues& pc,
          std::function<int()> selectedItemIndex,
          platform::ControlsTiming controls = platform::ControlsTiming::Now,
          QWidget* parent = nullptr);
    ~Form3() override;

    void makeControls();
    void setVisible(bool visible) override; // makes the controls first

    enum class Phase
    {
        Idle,
        Searching,
        Awaiting
    };
    Phase phase() const { return m_phase; }

    // The values the next setup request carries.
    const char* NewAddress() const { return m_newAddress; }
    const char* NewMask() const { return m_newMask; }
    const char* NewGateway() const { return m_newGateway; }

    QTimer* Timer1() { return &m_timer1; }
    QTimer* Timer2() { return &m_timer2; }
    SetupExchange& exchange() { return m_exchange; }

    // The echo client behind the free-address search (the ICMP client unless
    // replaced, as tests do) and the neighbour-table lookup consulted after a
    // probe nothing answered.
    void setAddressProber(std::unique_ptr<AddressProber> prober);
    void setNeighbourLookup(std::function<bool(std::string_view)> lookup);

    // The handlers, named as the dialog's events.
    void FormActivate();
    void RBtnAutoAssignIPClick(QObject* sender);
    void IPAddressControlEnter();
    void MaskAddressControlEnter();
    void GatewayAddressControlEnter();
    void Button1Click();
    void Button2Click();
    void ApplySettings();
    void StartSetup();
    bool ProbeAddress(const char* address);
    void ICMPReply(probe::TIcmpClient* ASender, const probe::TReplyStatus& AReplyStatus);
    void FinishSetup();
    void Timer1Timer();
    void Timer2Timer();

signals:
    // The dialog went to another phase (for observers such as tests).
    void phaseChanged(settings::Form3::Phase phase);

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    const discovery::DeviceRecord* chosenRecord() const;
    bool searchFreeAddress();
    void enterBusy();
    void returnToIdle();
    void restoreIdleControls();
    void forgetCredentials();
    void setPhase(Phase phase);
    void setAddressControlsEnabled(bool enabled);
    static void keepFocusOn(QWidget* control);
    void focusAddressForTyping();
    void fillManualFields();
    void applyPixelFonts();
    static void showMessage(const char* title, const char* text);

    std::unique_ptr<Ui::Form3> m_ui; // null until the controls are made
    discovery::DeviceTable& m_table;
    const discovery::PcNetworkValues& m_pc;
    std::function<int()> m_selectedItemIndex;

    char m_newAddress[kNewTextSize]{};
    char m_newMask[kNewTextSize]{};
    char m_newGateway[kNewTextSize]{};
    bool ProbeAnswered = false; // the last probe was answered
    int m_receiveTimeout = kStoredProbeWaitMs;

    std::unique_ptr<AddressProber> m_prober;
    std::function<bool(std::string_view)> m_neighbourLookup;
    SetupExchange m_exchange;
    QTimer m_timer1;
    QTimer m_timer2;
    Phase m_phase = Phase::Idle;
};

} // namespace settings
