// Applies a unit's new address to its lab interface with ip(8).

#include "tools/nas-sim/AddressChanger.h"

#include "tools/nas-sim/LabNamespace.h"

#include <QProcess>
#include <QStringList>

namespace {

QString runIp(const QStringList& args)
{
    QProcess ip;
    ip.start(QStringLiteral("ip"), args);
    if (!ip.waitForFinished(5000)) {
        ip.kill();
        ip.waitForFinished(1000);
        return QStringLiteral("ip %1: did not finish").arg(args.join(QLatin1Char(' ')));
    }
    if (ip.exitStatus() != QProcess::NormalExit || ip.exitCode() != 0) {
        return QStringLiteral("ip %1: %2")
            .arg(args.join(QLatin1Char(' ')),
                 QString::fromLocal8Bit(ip.readAllStandardError()).trimmed());
    }
    return {};
}

} // namespace

QString AddressChanger::apply(const QString& device, const QString& address, int prefixLength,
                              const QString& gateway)
{
    if (!LabNamespace::isCurrent())
        return QStringLiteral("refusing to change addresses outside a lab namespace");
    QString error = runIp({"-4", "addr", "flush", "dev", device});
    if (error.isEmpty())
        error = runIp(
            {"addr", "add", QStringLiteral("%1/%2").arg(address).arg(prefixLength), "dev", device});
    if (!error.isEmpty())
        return error;
    // A gateway outside the new subnet cannot be reached: keep an on-link default
    // route then, so the unit can still answer by broadcast.
    error = runIp({"route", "replace", "default", "via", gateway, "dev", device});
    if (!error.isEmpty())
        error = runIp({"route", "replace", "default", "dev", device});
    return error;
}
