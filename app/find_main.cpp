// mrv7k2-find: checks the PC's network, runs one scan (3 seconds) and prints
// the units that answered.
//
// Exit status: 0 after a scan; 2 when the PC has no usable network; 3 when
// the reply port could not be bound; 1 on a usage error.

#include "app/FindReport.h"
#include "discovery/DiscoveryExchange.h"
#include "discovery/LocalNetworkCheck.h"
#include "discovery/core/Messages.h"
#include "platform/net/Cp932.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

using namespace discovery;

namespace {

constexpr int kExitNoNetwork = 2;
constexpr int kExitReplyPort = 3;

void printUsage(QTextStream& out)
{
    out << "Usage: mrv7k2-find [--json]\n"
           "Finds the MRV-7K2 units on this PC's network (one 3-second scan).\n"
           "  --json   print every field of every unit, and the PC's values, as JSON\n";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    bool json = false;
    const QStringList args = app.arguments().mid(1);
    for (const QString& arg : args) {
        if (arg == QLatin1String("--json")) {
            json = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            printUsage(out);
            return 0;
        } else {
            err << "mrv7k2-find: unknown option " << arg << '\n';
            printUsage(err);
            return 1;
        }
    }
    if (!platform::cp932::available())
        err << "mrv7k2-find: warning: no CP932 conversion on this system; texts may be wrong\n";

    static DeviceTable table{};
    PcNetworkValues pc{};
    CheckLocalNetwork(pc);

    DiscoveryExchange exchange(table, pc);
    int status = 0;
    QObject::connect(&exchange, &DiscoveryExchange::scanEnded, &app, [&](bool replyPortFailed) {
        for (int n = 1; n <= table.DeviceCount; ++n)
            MarkRecordFlags(*table.record(n), pc.PcNetwork);
        const ScanSummary summary{pc, table, replyPortFailed, exchange.counters().datagrams};
        if (json)
            out << findReportJson(summary);
        else
            out << findReportTable(summary);
        out.flush();

        if (pc.NetworkState == NetworkNoUsableAdapter) {
            err << messages::kNotConnected << '\n';
            status = kExitNoNetwork;
        } else if (pc.NetworkState == NetworkAdapterListFailed) {
            err << messages::kNoNetwork << '\n';
            status = kExitNoNetwork;
        } else if (replyPortFailed) {
            err << messages::kReplyPortInUse << '\n';
            status = kExitReplyPort;
        }
        err.flush();
        app.exit(status);
    });
    exchange.StartScan();
    return app.exec();
}
