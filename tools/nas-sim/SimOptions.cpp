// The simulator's command line, each option checked and bounded, into a
// SimConfig.

#include "tools/nas-sim/SimOptions.h"

#include "tools/nas-sim/ByteText.h"
#include "tools/nas-sim/Cp932Text.h"
#include "tools/nas-sim/SimConfig.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <cstddef>
#include <optional>

namespace {

struct ValueOption
{
    const char* name;
    const char* meaning;
    const char* fallback;
};

// Reply values 0..9 in wire order.
constexpr ValueOption kValueOptions[10] = {
    {"ip", "value 0, the unit's address", "192.168.1.50"},
    {"mask", "value 1, its subnet mask", "255.255.255.0"},
    {"gateway", "value 2, its default gateway", "192.168.1.1"},
    {"host", "value 3, its host name", "MRV7K2"},
    {"host-aux", "value 4, the second host value", "WORKGROUP"},
    {"value5", "value 5 (unused by the PC)", ""},
    {"disk-model", "value 6, the disk model", "ST3250310AS"},
    {"disk-aux", "value 7 (unused by the PC)", "0"},
    {"capacity", "value 8, capacity in KiB", "244198584"},
    {"free", "value 9, free space in KiB", "200000000"},
};

bool readInt(const QCommandLineParser& p, const QString& name, int low, int high, int* out,
             QString* error)
{
    if (!p.isSet(name))
        return true;
    bool ok = false;
    const int v = p.value(name).toInt(&ok);
    if (!ok || v < low || v > high) {
        *error = QStringLiteral("--%1 wants a number from %2 to %3").arg(name).arg(low).arg(high);
        return false;
    }
    *out = v;
    return true;
}

bool readStatus(const QCommandLineParser& p, const QString& name, char* out, QString* error)
{
    if (!p.isSet(name))
        return true;
    const QString v = p.value(name);
    std::optional<QByteArray> b = ByteText::fromEscaped(v);
    if (!b || b->size() != 1) {
        *error = QStringLiteral("--%1 wants one character (or \\xHH)").arg(name);
        return false;
    }
    *out = b->at(0);
    return true;
}

bool readText(const QString& text, const QString& name, QByteArray* out, QString* error)
{
    const std::optional<QByteArray> bytes = Cp932Text::encode(text);
    if (!bytes) {
        *error = QStringLiteral("--%1: '%2' has a character with no CP932 form").arg(name, text);
        return false;
    }
    *out = *bytes;
    return true;
}

// The identity, the ten reply values and the administrator's credentials.
bool readUnitTexts(const QCommandLineParser& p, UnitConfig& u, QString* error)
{
    if (!readText(p.value("identity"), "identity", &u.identity, error))
        return false;
    for (std::size_t k = 0; k < 10; ++k) {
        const QString name = QString::fromLatin1(kValueOptions[k].name);
        const QString text =
            p.isSet(name) ? p.value(name) : QString::fromLatin1(kValueOptions[k].fallback);
        if (!readText(text, name, &u.values[k], error))
            return false;
    }
    return readText(p.isSet("user") ? p.value("user") : QStringLiteral("admin"), "user", &u.user,
                    error) &&
           readText(p.isSet("password") ? p.value("password") : QStringLiteral("password"),
                    "password", &u.password, error);
}

// --raw (hex) and then --raw-text datagrams, in that order.
bool readRawReplies(const QCommandLineParser& p, UnitConfig& u, QString* error)
{
    for (const QString& hex : p.values("raw")) {
        const auto bytes = ByteText::fromHex(hex);
        if (!bytes) {
            *error = QStringLiteral("--raw: '%1' is not hex").arg(hex);
            return false;
        }
        u.rawReplies.append(*bytes);
    }
    for (const QString& text : p.values("raw-text")) {
        const auto bytes = ByteText::fromEscaped(text);
        if (!bytes) {
            *error = QStringLiteral("--raw-text: bad escape or non-Latin-1 text in '%1'").arg(text);
            return false;
        }
        u.rawReplies.append(*bytes);
    }
    return true;
}

bool readSetupEffect(const QCommandLineParser& p, SetupEffect* out, QString* error)
{
    if (!p.isSet("on-setup"))
        return true;
    const QString mode = p.value("on-setup");
    if (mode == QLatin1String("report"))
        *out = SetupEffect::Report;
    else if (mode == QLatin1String("address"))
        *out = SetupEffect::Address;
    else if (mode == QLatin1String("ignore"))
        *out = SetupEffect::Ignore;
    else {
        *error = QStringLiteral("--on-setup wants report, address or ignore");
        return false;
    }
    return true;
}

} // namespace

std::optional<SimConfig> SimOptions::parse(const QStringList& arguments, QString* error,
                                           bool* exitNow)
{
    *exitNow = false;
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Simulated MRV-7K2 unit for the lab. Listens on UDP 12311 (all addresses, broadcast "
        "allowed, port shared) and answers:\n"
        "  \"0C01S\"  with \"0C01R\" + identity + 'v0','v1',...,'v9'\n"
        "  \"0C02S\" + identity + addr;mask;gw;host;aux;;user;password\n"
        "          with \"0C02R\" + identity + status byte ('2': accepted)\n"
        "Replies go to port 12310 of the sender, or to 255.255.255.255:12310 with --broadcast.\n"
        "Texts are given in UTF-8 and sent in CP932. Runs only inside a network namespace "
        "of the lab (tools/lab/lab.sh), never on the machine's own network."));
    p.addHelpOption();
    p.addOptions({
        {"identity", "The unit's identity, normally 17 characters.", "text", "00:11:22:33:44:55"},
    });
    for (const ValueOption& v : kValueOptions) {
        p.addOption({QString::fromLatin1(v.name),
                     QStringLiteral("Reply %1 (default \"%2\").")
                         .arg(QLatin1String(v.meaning), QLatin1String(v.fallback)),
                     "text"});
    }
    p.addOptions({
        {"user", "Administrator's user name (default \"admin\").", "text"},
        {"password", "Administrator's password (default \"password\").", "text"},
        {"broadcast", "Reply to 255.255.255.255:12310 instead of the sender's address."},
        {"copies", "Send each discovery reply N times (default 1).", "N"},
        {"delay", "Wait MS milliseconds before a discovery reply (default 0).", "MS"},
        {"silent", "Do not answer discovery requests."},
        {"raw", "Send these bytes (hex) instead of the discovery reply; repeatable.", "hex"},
        {"raw-text",
         "Send this Latin-1 text (\\xHH, \\0, \\n, \\\\ escapes) instead of the discovery "
         "reply; repeatable.",
         "text"},
        {"raw-and-reply", "Send the --raw datagrams and then the real reply."},
        {"setup-status", "Status byte of an accepted setup (default 2).", "char"},
        {"bad-login-status", "Status byte for a wrong user or password (default 0).", "char"},
        {"malformed-status",
         "Status byte for a request with missing values or bad addresses (default 0).", "char"},
        {"setup-delay", "Wait MS milliseconds before the setup reply (default 0).", "MS"},
        {"setup-broadcast", "Send the setup reply to 255.255.255.255:12310."},
        {"no-setup-reply", "Take part in setup but never answer."},
        {"on-setup",
         "What an accepted setup changes: report (the reported values only, default), "
         "address (the interface really takes the address: ip addr/route in this namespace; "
         "refused outside a namespace), ignore.",
         "mode"},
        {"dev", "Interface whose address --on-setup address replaces (default eth0).", "name"},
        {"flood",
         "On the first discovery request of a scan (none in the 3 s before) send N "
         "datagrams to 255.255.255.255:12310: junk mixed with valid replies of "
         "--flood-units identities (each twice).",
         "N"},
        {"flood-units", "Distinct identities in a flood (default 150).", "K"},
        {"flood-rate", "Flood datagrams per second, 0: as fast as possible (default 5000).", "N"},
        {"flood-max-ms", "A flood stops after this long (default 10000).", "MS"},
        {"log", "Append one JSON line per datagram received or sent, and per event.", "file"},
        {"ready-file", "Create this file once the port is bound.", "file"},
        {"lifetime", "Exit after this many seconds (default 600).", "s"},
    });
    if (!p.parse(arguments)) {
        *error = p.errorText();
        return std::nullopt;
    }
    if (p.isSet("help")) {
        QTextStream(stdout) << p.helpText();
        *exitNow = true;
        return std::nullopt;
    }
    if (!p.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().first());
        return std::nullopt;
    }

    SimConfig c;
    UnitConfig& u = c.unit;
    if (!readUnitTexts(p, u, error) || !readRawReplies(p, u, error))
        return std::nullopt;
    u.broadcastReply = p.isSet("broadcast");
    u.answerDiscovery = !p.isSet("silent");
    u.rawAndReply = p.isSet("raw-and-reply");
    u.setupBroadcastReply = p.isSet("setup-broadcast");
    u.answerSetup = !p.isSet("no-setup-reply");
    if (!readInt(p, "copies", 0, 1000, &u.copies, error) ||
        !readInt(p, "delay", 0, 600000, &u.delayMs, error) ||
        !readInt(p, "setup-delay", 0, 600000, &u.setupDelayMs, error) ||
        !readStatus(p, "setup-status", &u.acceptStatus, error) ||
        !readStatus(p, "bad-login-status", &u.badLoginStatus, error) ||
        !readStatus(p, "malformed-status", &u.malformedStatus, error) ||
        !readInt(p, "flood", 0, 1000000, &c.flood.count, error) ||
        !readInt(p, "flood-units", 1, 65535, &c.flood.units, error) ||
        !readInt(p, "flood-rate", 0, 10000000, &c.flood.ratePerSecond, error) ||
        !readInt(p, "flood-max-ms", 1, 600000, &c.flood.maxMs, error) ||
        !readInt(p, "lifetime", 1, 86400, &c.lifetimeSeconds, error) ||
        !readSetupEffect(p, &u.setupEffect, error))
        return std::nullopt;
    if (p.isSet("dev"))
        u.device = p.value("dev");
    c.logPath = p.value("log");
    c.readyPath = p.value("ready-file");
    return c;
}
