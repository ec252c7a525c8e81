#pragma once
// The settings dialog: gives one unit a typed address, mask and gateway, or
// (for a unit outside the PC's subnet) a free address of the PC's subnet found
// by probing. It shows and asks; settings/ApplySequence does the search and
// the setup exchange.

#include "discovery/core/DeviceTable.h"
#include "discovery/core/LocalNetwork.h"
#include "platform/gui/ControlsTiming.h"
#include "settings/AddressProber.h"
#include "settings/ApplySequence.h"
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

inline constexpr int kProgressStepMs = 300;
inline constexpr int kProgressFull = 100; // one step per tick: full after 100 ticks
inline constexpr int kStoredProgressStepMs = 150;

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

    using Phase = ApplySequence::Phase;
    Phase phase() const { return m_sequence.phase(); }

    // The values the next setup request carries.
    const char* NewAddress() const { return m_sequence.NewAddress(); }
    const char* NewMask() const { return m_sequence.NewMask(); }
    const char* NewGateway() const { return m_sequence.NewGateway(); }

    QTimer* Timer1() { return m_sequence.Timer1(); }
    QTimer* Timer2() { return &m_timer2; }
    SetupExchange& exchange() { return m_sequence.exchange(); }

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
    // The end of an exchange the sequence reported: the result box, then idle;
    // on success the dialog closes with OK.
    void FinishSetup(bool accepted);
    void Timer2Timer();

signals:
    // The dialog went to another phase (for observers such as tests).
    void phaseChanged(settings::Form3::Phase phase);

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    const discovery::DeviceRecord* chosenRecord() const;
    void enterBusy();
    void leaveBusy();
    void returnToIdle();
    void restoreIdleControls();
    void forgetCredentials();
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

    ApplySequence m_sequence;
    QTimer m_timer2;
};

} // namespace settings
