#pragma once
// The program's one working window: the three guide pages, the device list
// with its details panel, and the buttons that act on a unit. It owns the
// device table, the PC's network values, the page state and the scan.

#include "discovery/core/LocalNetwork.h"
#include "mainwindow/UnitIcons.h"
#include "platform/gui/ControlsTiming.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QDialog;
class QLabel;

namespace Ui {
class Form_SelectNAS;
}

namespace discovery {
class DiscoveryExchange;
struct DeviceTable;
} // namespace discovery

namespace mainwindow {

class Form_SelectNAS : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form_SelectNAS)

public:
    // With ControlsTiming::Later the scan and its bar run before the controls
    // exist; the controls take their state when they are made.
    using Controls = platform::ControlsTiming;

    // Makes the window hidden and runs the local network check on this PC's
    // adapters.
    explicit Form_SelectNAS(Controls controls, QWidget* parent = nullptr);

    // Same, with the network check supplied by the caller (tests feed a fixed
    // adapter list, so that nothing touches the machine's network). It fills
    // the PC's values and returns the adapter list it read.
    using NetworkCheck =
        std::function<std::vector<discovery::AdapterAddresses>(discovery::PcNetworkValues&)>;
    explicit Form_SelectNAS(const NetworkCheck& networkCheck, Controls controls = Controls::Now,
                            QWidget* parent = nullptr);
    ~Form_SelectNAS() override;

    // Makes the controls if they do not exist yet.
    void makeControls();
    void setVisible(bool visible) override; // makes the controls first

    // --- wiring done by the start-up code -------------------------------
    // The search window: Timer2 shows it, the end of every scan hides it.
    void setSearchWindow(QWidget* form2);
    // The settings dialog, run modally from the device list (page 6). Its
    // QDialog::Rejected result stands for Cancel; any other result rescans.
    void setSettingsDialog(QDialog* form3);
    // Wraps the window's first activation, at the end of the first scan:
    // the start-up hands on its launcher's activation token this way.
    using Activation = std::function<void(const std::function<void()>& bringUp)>;
    void setFirstActivation(Activation wrap) { m_firstActivation = std::move(wrap); }
    // Starts the first scan when the page state is still 1 and no scan runs;
    // the same as the first activation of the window, for window systems that
    // never activate it. Activation afterwards starts no second scan.
    void startFirstScan();

    // --- state read by the start-up code, the settings dialog and tests -
    discovery::DeviceTable& deviceTable() { return *m_table; }
    const discovery::DeviceTable& deviceTable() const { return *m_table; }
    const discovery::PcNetworkValues& pcNetworkValues() const { return m_pc; }
    // The network of the selected unit's own adapter (the PC's values when
    // none is selected or its adapter is not known): what the settings
    // dialog proposes from in automatic mode.
    const discovery::PcNetworkValues& selectedUnitNetwork() const { return m_unitPc; }
    // The page state; the search window sets it to 1 when it is made.
    std::int32_t& guidePageState() { return GuidePage; }
    int guidePage() const { return GuidePage; }
    int selectedRecord() const { return SelectedRecord; }
    // The list's selected item index, -1 when none.
    int selectedItemIndex() const;
    bool isScanning() const { return m_scanning; }
    int scanBarPosition() const { return ScanBarPosition; }

    // The window's three timers, also found by name among its children; the
    // scan's Timer1 belongs to the discovery exchange the window owns.
    QTimer* Timer1();
    QTimer* Timer2() { return &m_timer2; }
    QTimer* Timer_Bar() { return &m_timerBar; }

    // --- seams for in-process tests --------------------------------------
    // Replaces the live scan: the replacement sends nothing; the test later
    // calls onScanEnded() itself after filling the table.
    void setScanStarter(std::function<void()> starter);
    // What ends the process with a status (default: QCoreApplication::exit).
    void setExitHandler(std::function<void(int)> handler);

    // --- handlers (named after their controls and events) ----------------
    void ShowGuidePage();
    void But_NextClick();
    void But_PreClick();
    void But_RescanClick();
    void But_SambaClick();
    void But_WebClick();
    void But_CancelClick();
    void FormActivate();
    void Timer2Timer();
    void Timer_BarTimer();
    void FillDeviceList();
    void Lis_NASListSelectItem(int itemIndex, bool selected);
    void Lis_NASListClick();
    void ShowDetails(int recordNumber);
    void ClearDetails();

    // NOLINTNEXTLINE(readability-redundant-access-specifiers): Q_SLOTS marks the slots for moc
public Q_SLOTS:
    // Start of a scan: the progress bar at the bottom runs from 0.
    void onScanStarting();
    // The main window's end of a scan (network errors, page, list, selection).
    void onScanEnded(bool replyPortFailed);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    // A window manager's close (its button, Alt+F4) asks as 閉じる does.
    void closeEvent(QCloseEvent* e) override;

private:
    Ui::Form_SelectNAS& ui(); // the controls, made on first use
    void setUpControls();
    // Needs the controls made; the callers have made them.
    void disableForScan();
    void clearValueLabels();
    void loadGuidePicture(QLabel* picture);
    // After a change of screen or scale: pictures and icons for the new ratio.
    void remakePictures();
    void selectFirstUnit();
    void applyActionButtons(int recordNumber);
    void endProcess(int status);

    std::unique_ptr<Ui::Form_SelectNAS> m_ui; // null until the controls are made
    std::unique_ptr<discovery::DeviceTable> m_table;
    discovery::PcNetworkValues m_pc{};
    std::vector<discovery::AdapterAddresses> m_adapters; // as the network check read them
    discovery::PcNetworkValues m_unitPc{};               // of the selected unit
    std::unique_ptr<discovery::DiscoveryExchange> m_exchange;
    UnitIcons Img_NasIcom;
    // Lab_NASinfo1 ... Lab_NASinfo8, and the caption label left of each.
    std::array<QLabel*, 8> m_valueLabels{};
    std::array<QLabel*, 8> m_captionLabels{};
    QTimer m_timer2;
    QTimer m_timerBar;
    QWidget* m_searchWindow = nullptr;
    Activation m_firstActivation;
    QDialog* m_settingsDialog = nullptr;
    std::function<void()> m_scanStarter;
    std::function<void(int)> m_exitHandler;
    bool m_scanning = false;
    bool m_askingToClose = false;

    std::int32_t GuidePage = 0;
    std::int32_t SelectedRecord = 0;
    std::int32_t ScanBarPosition = 0;
};

} // namespace mainwindow
