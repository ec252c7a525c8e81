#pragma once
// A socket call failed; carries the Windows Sockets code of the failure.

#include "probe/core/NetComponentError.h"
#include "probe/core/SocketErrorText.h"

namespace probe {

class ESocketError : public NetComponentError
{
public:
    explicit ESocketError(int code) : NetComponentError(socketErrorMessage(code)), m_code(code) {}

    int code() const { return m_code; }

private:
    int m_code;
};

} // namespace probe
