// nas-sim: a simulated MRV-7K2 unit for the lab. See --help.

#include "tools/nas-sim/LabNamespace.h"
#include "tools/nas-sim/SimConfig.h"
#include "tools/nas-sim/SimOptions.h"
#include "tools/nas-sim/UnitSimulator.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>
#include <csignal>
#include <optional>
#include <sys/signalfd.h>
#include <utility>

namespace {

// SIGTERM and SIGINT end the event loop with status 0. Nothing that stops Qt may
// run inside a signal handler, so they are blocked and read from a signalfd in
// the loop instead. Blocked before the application exists, so that every thread
// it may start inherits the mask.
sigset_t terminationSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

void quitOnTermination(QCoreApplication& app, const sigset_t& termination)
{
    const int fd = signalfd(-1, &termination, SFD_CLOEXEC | SFD_NONBLOCK);
    if (fd < 0)
        return;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app,
                     [] { QCoreApplication::exit(0); });
}

} // namespace

int main(int argc, char** argv)
{
    const sigset_t termination = terminationSignals();
    pthread_sigmask(SIG_BLOCK, &termination, nullptr);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("nas-sim"));
    QTextStream err(stderr);

    QString error;
    bool exitNow = false;
    std::optional<SimConfig> config =
        SimOptions::parse(QCoreApplication::arguments(), &error, &exitNow);
    if (exitNow)
        return 0;
    if (!config) {
        err << "nas-sim: " << error << "\n";
        return 2;
    }
    // Answering broadcasts (or flooding) on a real LAN is never wanted.
    if (!LabNamespace::isCurrent()) {
        err << "nas-sim: runs only inside a lab network namespace (tools/lab/lab.sh)\n";
        return 2;
    }

    const QString readyPath = config->readyPath;
    const int lifetime = config->lifetimeSeconds;
    UnitSimulator unit(std::move(*config));
    error = unit.start();
    if (!error.isEmpty()) {
        err << "nas-sim: " << error << "\n";
        return 1;
    }
    if (!readyPath.isEmpty()) {
        QFile ready(readyPath);
        if (!ready.open(QIODevice::WriteOnly)) {
            err << "nas-sim: cannot create " << readyPath << "\n";
            return 1;
        }
    }
    quitOnTermination(app, termination);
    QTimer::singleShot(lifetime * 1000, &app, &QCoreApplication::quit);
    return QCoreApplication::exec();
}
