// Runs each probe of the free-address search as one echo of the client.

#include "settings/IcmpAddressProber.h"

#include "probe/TIcmpClient.h"
#include "probe/core/NetComponentError.h"
#include "settings/AddressProber.h"

#include <memory>
#include <string>

namespace settings {

IcmpAddressProber::IcmpAddressProber() : m_client(std::make_unique<probe::TIcmpClient>())
{
    m_client->setObjectName(QStringLiteral("ICMP"));
    // As stored with the dialog; every probe sets its own wait.
    m_client->setReceiveTimeout(1000);
}

IcmpAddressProber::~IcmpAddressProber() = default;

void IcmpAddressProber::echo(const std::string& host, int receiveTimeoutMs,
                             const ReplyHandler& onReply)
{
    m_client->setOnReply(onReply);
    m_client->setReceiveTimeout(receiveTimeoutMs);
    m_client->setHost(QString::fromStdString(host));
    try {
        m_client->Echo();
    } catch (const probe::NetComponentError& error) {
        m_client->setOnReply({});
        throw ProbeError(error.what());
    }
    m_client->setOnReply({});
}

} // namespace settings
