#pragma once
// Windows Sockets error codes and the texts the client shows for them.

#include <string>
#include <string_view>

namespace probe {

inline constexpr int kWsaEMsgSize = 10040;
// A failed host-name lookup. Not in the classic socket error table; it gets
// a text of its own so the user sees why.
inline constexpr int kWsaHostNotFound = 11001;
// The Windows echo call's catch-all status, which the platform layer passes on
// as it is (its other statuses map to socket codes);
// no socket error shares the number.
inline constexpr int kIpGeneralFailure = 11050;

// The text for a code; empty for a code the table does not know.
std::string_view socketErrorText(int code);

// "Socket Error # <code>\r\n<text>".
std::string socketErrorMessage(int code);

} // namespace probe
