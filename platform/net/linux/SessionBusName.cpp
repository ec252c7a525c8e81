// The program's name on the D-Bus session bus, where a later start finds the
// running instance and hands it its activation token.

#include "platform/net/linux/SessionBusName.h"

#include "platform/net/ActivationRequest.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <cstddef>
#include <utility>

namespace platform {

namespace {

constexpr char kObjectPath[] = "/io/github/mrv7k2/SingleInstance";
constexpr char kInterface[] = "io.github.mrv7k2.SingleInstance";
constexpr char kActivateMethod[] = "activate";

// Only a bus named in the environment: without one, libdbus would try to
// start a bus of its own through the X server.
bool sessionBusNamed()
{
    return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS");
}

} // namespace

SessionBusName::SessionBusName(QString busName, QObject* parent)
    : QObject(parent), m_busName(std::move(busName))
{
}

SessionBusName::~SessionBusName()
{
    if (!m_owned)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QLatin1String(kObjectPath));
    bus.unregisterService(m_busName);
}

SessionBusName::Claim SessionBusName::claim(const QString& launchToken, int timeoutMs)
{
    if (!sessionBusNamed())
        return Claim::NoBus;
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    if (!daemon)
        return Claim::NoBus;
    // The object first: a later start that sees the name owned finds it there.
    if (!bus.registerObject(QLatin1String(kObjectPath), this,
                            QDBusConnection::ExportScriptableSlots))
        return Claim::NoBus;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> owned =
        daemon->registerService(m_busName, QDBusConnectionInterface::DontQueueService,
                                QDBusConnectionInterface::DontAllowReplacement);
    if (owned.isValid() && owned.value() == QDBusConnectionInterface::ServiceRegistered) {
        m_owned = true;
        return Claim::Owned;
    }
    bus.unregisterObject(QLatin1String(kObjectPath));
    if (!owned.isValid())
        return Claim::NoBus;
    QDBusMessage call =
        QDBusMessage::createMethodCall(m_busName, QLatin1String(kObjectPath),
                                       QLatin1String(kInterface), QLatin1String(kActivateMethod));
    call << launchToken;
    const QDBusMessage answer = bus.call(call, QDBus::Block, timeoutMs < 1 ? 1 : timeoutMs);
    return answer.type() == QDBusMessage::ReplyMessage ? Claim::OtherNotified : Claim::OwnerSilent;
}

void SessionBusName::activate(const QString& token)
{
    const QByteArray bytes = token.toLatin1();
    const bool acceptable =
        token.size() == bytes.size() &&
        isAcceptableActivationToken(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    emit activationRequested(acceptable ? token : QString());
}

} // namespace platform
