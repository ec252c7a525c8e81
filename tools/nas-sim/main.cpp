// nas-sim: a simulated MRV-7K2 unit for the lab. See --help.

#include "LabNamespace.h"
#include "SimOptions.h"
#include "UnitSimulator.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <QTimer>
#include <csignal>

namespace {

void quitOnSignal(int)
{
    QCoreApplication::exit(0);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("nas-sim"));
    QTextStream err(stderr);

    QString error;
    bool exitNow = false;
    std::optional<SimConfig> config = SimOptions::parse(app.arguments(), &error, &exitNow);
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
    std::signal(SIGTERM, quitOnSignal);
    std::signal(SIGINT, quitOnSignal);
    QTimer::singleShot(lifetime * 1000, &app, &QCoreApplication::quit);
    return app.exec();
}
