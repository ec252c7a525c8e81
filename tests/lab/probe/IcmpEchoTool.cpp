// Test helper: performs echoes with the client and prints each outcome as one
// JSON line, so lab scripts can check them. Run it only inside a lab
// namespace: it sends ICMP.
//
//   icmp-echo-tool --host ADDR [--timeout MS] [--count N] [--protocol P]
//
// Each line: the TReplyStatus fields, "socket" ("raw" or "datagram"),
// "waitMs" (the time Echo() took), "sent" (the number the request carried)
// and "pid"; or {"error": text, "class": name} and exit status 2.

#include "probe/TIcmpClient.h"
#include "probe/core/EIcmpException.h"
#include "probe/core/EInvalidSocket.h"
#include "probe/core/ENotAllBytesSent.h"
#include "probe/core/EPackageSizeTooBig.h"
#include "probe/core/ESocketError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <typeinfo>

namespace {

constexpr int kMaxCount = 100;

void printLine(const QJsonObject& object)
{
    std::printf("%s\n", QJsonDocument(object).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

const char* className(const probe::NetComponentError& error)
{
    if (dynamic_cast<const probe::EInvalidSocket*>(&error))
        return "EInvalidSocket";
    if (dynamic_cast<const probe::ESocketError*>(&error))
        return "ESocketError";
    if (dynamic_cast<const probe::EPackageSizeTooBig*>(&error))
        return "EPackageSizeTooBig";
    if (dynamic_cast<const probe::ENotAllBytesSent*>(&error))
        return "ENotAllBytesSent";
    if (dynamic_cast<const probe::EIcmpException*>(&error))
        return "EIcmpException";
    return "NetComponentError";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    probe::TIcmpClient client;
    int count = 1;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const QString& name = args[i];
        const QString& value = args[i + 1];
        if (name == "--host")
            client.setHost(value);
        else if (name == "--timeout")
            client.setReceiveTimeout(value.toInt());
        else if (name == "--count")
            count = qBound(1, value.toInt(), kMaxCount);
        else if (name == "--protocol")
            client.setProtocol(value.toInt());
        else {
            std::fprintf(stderr, "unknown option %s\n", qPrintable(name));
            return 64;
        }
    }

    int replies = 0;
    // Counts the reports that name this client as their sender.
    client.setOnReply([&](probe::TIcmpClient* sender, const probe::TReplyStatus&) {
        if (sender == &client)
            ++replies;
    });
    for (int i = 0; i < count; ++i) {
        const int sent = client.nextSequenceNumber();
        QElapsedTimer timer;
        timer.start();
        try {
            client.Echo();
        } catch (const probe::NetComponentError& error) {
            printLine({{"error", QString::fromStdString(error.what())},
                       {"class", className(error)},
                       {"replies", replies}});
            return 2;
        }
        const double waitMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        const probe::TReplyStatus& s = client.replyStatus();
        const bool raw = client.lastSocketKind() == platform::IcmpSocket::Kind::Raw;
        printLine({{"ByteCount", s.ByteCount},
                   {"FromAddress", QString::fromStdString(s.FromAddress)},
                   {"MessageType", s.MessageType},
                   {"SequenceNumber", s.SequenceNumber},
                   {"ReplyTimeMs", s.ReplyTimeMs},
                   {"TimeToLive", s.TimeToLive},
                   {"Status", s.Status},
                   {"socket", raw ? "raw" : "datagram"},
                   {"sent", sent},
                   {"replies", replies},
                   {"pid", QCoreApplication::applicationPid()},
                   {"waitMs", waitMs}});
    }
    return 0;
}
