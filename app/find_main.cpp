// mrv7k2-find: checks the PC's network, runs one scan (3 seconds) and prints
// the units that answered.
//
// Exit status: 0 after a scan; 2 when the PC has no usable network, and on a
// usage error (as GNU tools); 3 when the reply port could not be bound.

#include "app/FindOptions.h"
#include "app/FindReport.h"
#include "discovery/DiscoveryExchange.h"
#include "discovery/LocalNetworkCheck.h"
#include "discovery/core/DeviceTable.h"
#include "discovery/core/LocalNetwork.h"
#include "discovery/core/Messages.h"
#include "platform/net/Cp932.h"
#include "platform/os/Console.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <string_view>
#include <vector>

using namespace discovery;

namespace {

constexpr int kExitNoNetwork = 2;
constexpr int kExitReplyPort = 3;

} // namespace

int main(int argc, char** argv)
{
    const platform::Utf8Console console;
    // Read before Qt starts: --help and --version need nothing of it.
    const app::FindOptions options =
        app::parseFindOptions(std::vector<std::string_view>(argv + 1, argv + argc));
    switch (options.action) {
    case app::FindOptions::Action::Help:
        std::cout << app::findHelpText();
        return 0;
    case app::FindOptions::Action::Version:
        std::cout << app::findVersionText();
        return 0;
    case app::FindOptions::Action::UsageError:
        std::cerr << options.error << '\n';
        return app::kExitUsage;
    case app::FindOptions::Action::Scan:
        break;
    }
    const bool json = options.json;

    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!platform::cp932::available())
        err << "mrv7k2-find: warning: no CP932 conversion on this system; texts may be wrong\n";

    static DeviceTable table{};
    PcNetworkValues pc{};
    const std::vector<AdapterAddresses> adapters = CheckLocalNetwork(pc);

    DiscoveryExchange exchange(table, pc);
    exchange.setAdapters(adapters);
    int status = 0;
    QObject::connect(&exchange, &DiscoveryExchange::scanEnded, &app, [&](bool replyPortFailed) {
        for (int n = 1; n <= table.DeviceCount; ++n)
            markRecordFlags(
                *table.record(n),
                unitNetworkValues(pc, adapters, table.record(n)->ArrivalInterface).PcNetwork);
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
            err << QString::fromStdString(exchange.replyPortMessage()) << '\n';
            status = kExitReplyPort;
        }
        err.flush();
        QCoreApplication::exit(status);
    });
    exchange.StartScan();
    return QCoreApplication::exec();
}
