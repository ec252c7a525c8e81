#pragma once
// Helpers for driving the main window in-process: a fixed PC network, units
// put into the table as their replies would, and message boxes answered.

#include "discovery/core/DeviceTable.h"
#include "discovery/core/LocalNetwork.h"
#include "mainwindow/Form_SelectNAS.h"

#include <QString>

namespace testing {

// The PC at 192.168.1.37/24 (state 0), an adapter list with no usable
// adapter (state 1), one that could not be read (state 2), or the PC at
// 192.168.1.37/24 (index 2) with a second adapter 192.168.2.37/24 (index 3).
mainwindow::Form_SelectNAS::NetworkCheck fixedNetwork(int state = 0);

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

} // namespace testing
