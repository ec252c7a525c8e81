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
