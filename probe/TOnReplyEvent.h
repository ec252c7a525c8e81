#pragma once
// The echo client's OnReply event type, apart from the client, so that code
// that only hands outcomes on (fake clients in tests, the dialog's prober)
// needs no socket code.

#include "probe/core/TReplyStatus.h"

#include <functional>

namespace probe {

class TIcmpClient;

// ASender is the client that echoed; AReplyStatus is valid during the call.
using TOnReplyEvent = std::function<void(TIcmpClient* ASender, const TReplyStatus& AReplyStatus)>;

} // namespace probe
