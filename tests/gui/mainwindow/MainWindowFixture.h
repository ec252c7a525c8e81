#pragma once
// Helpers for driving the main window in-process: a fixed PC network, units
// put into the table as their replies would, and message boxes answered.

#include "discovery/core/DeviceTable.h"
#include "discovery/core/LocalNetwork.h"

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace testing {

// The PC at 192.168.1.37/24 (state 0), an adapter list with no usable
// adapter (state 1), or one that could not be read (state 2).
std::function<void(discovery::PcNetworkValues&)> fixedNetwork(int state = 0);

struct Unit
{
    QString ip = QStringLiteral("192.168.1.20");
    QString host = QStringLiteral("NAS-A");
    QString model = QStringLiteral("ST380215A");
    QString capacity = QStringLiteral("78150744");
    QString free = QStringLiteral("39075372");
    QString mac = QStringLiteral("00:11:22:33:44:55");
};

// Appends the unit through the reply parser, texts encoded in CP932.
void addUnit(discovery::DeviceTable& table, const Unit& unit);

// Answers the next modal message box with the given button and keeps what it showed.
class MessageBoxAnswerer : public QObject
{
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer);
    bool seen = false;
    bool blocksOtherWindows = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool hasParent = false;

private:
    void poll();
    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
    int m_polls = 0;
};

} // namespace testing
