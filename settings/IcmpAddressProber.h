#pragma once
// The free-address search's echo on the dialog's ICMP client.

#include "settings/AddressProber.h"

#include <memory>
#include <string>

namespace probe {
class TIcmpClient;
}

namespace settings {

class IcmpAddressProber : public AddressProber
{
public:
    IcmpAddressProber();
    ~IcmpAddressProber() override;
    IcmpAddressProber(const IcmpAddressProber&) = delete;
    IcmpAddressProber& operator=(const IcmpAddressProber&) = delete;

    // Sets the client's ReceiveTimeout, Host and OnReply, then one Echo. The
    // client's errors come back as ProbeError with the client's text.
    void echo(const std::string& host, int receiveTimeoutMs, const ReplyHandler& onReply) override;

    probe::TIcmpClient& ICMP() { return *m_client; }

private:
    std::unique_ptr<probe::TIcmpClient> m_client;
};

} // namespace settings
