#pragma once
// What mrv7k2-find prints: the PC's network values and the device table,
// as a readable table or as JSON for scripts.

#include "discovery/core/DeviceTable.h"
#include "discovery/core/LocalNetwork.h"

#include <QByteArray>
#include <QString>

struct ScanSummary
{
    const discovery::PcNetworkValues& pc;
    const discovery::DeviceTable& table;
    bool replyPortFailed = false;
    int datagrams = 0;
};

QByteArray findReportJson(const ScanSummary& scan);
QString findReportTable(const ScanSummary& scan);

// A unit's text for a terminal: control characters (C0, DEL, C1), the
// bidirectional controls and the line and paragraph separators become \xNN or
// \uNNNN, and a backslash becomes two, so that what is printed can neither
// drive the terminal nor pass for an escape it is not.
QString visibleText(QStringView text);
