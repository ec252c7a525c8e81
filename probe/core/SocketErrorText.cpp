// The table of Windows Sockets codes and their texts.

#include "probe/core/SocketErrorText.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace probe {

namespace {

using Entry = std::pair<int, std::string_view>;

constexpr std::array kTexts = {
    Entry{10004, "Interrupted system call."},
    Entry{10009, "Bad file number."},
    Entry{10013, "Access denied."},
    Entry{10014, "Bad address."},
    Entry{10022, "Invalid argument."},
    Entry{10024, "Too many open files."},
    Entry{10035, "Operation would block. "},
    Entry{10036, "Operation now in progress."},
    Entry{10037, "Operation already in progress."},
    Entry{10038, "Socket operation on non-socket."},
    Entry{10039, "Destination address required."},
    Entry{10040, "Message too long."},
    Entry{10041, "Protocol wrong type for socket."},
    Entry{10042, "Bad protocol option."},
    Entry{10043, "Protocol not supported."},
    Entry{10044, "Socket type not supported."},
    Entry{10045, "Operation not supported on socket."},
    Entry{10046, "Protocol family not supported."},
    Entry{10047, "Address family not supported by protocol family."},
    Entry{10048, "Address already in use."},
    Entry{10049, "Cannot assign requested address."},
    Entry{10050, "Network is down."},
    Entry{10051, "Network is unreachable."},
    Entry{10052, "Net dropped connection or reset."},
    Entry{10053, "Software caused connection abort."},
    Entry{10054, "Connection reset by peer."},
    Entry{10055, "No buffer space available."},
    Entry{10056, "Socket is already connected."},
    Entry{10057, "Socket is not connected."},
    Entry{10058, "Cannot send or receive after socket is closed."},
    Entry{10059, "Too many references, cannot splice."},
    Entry{10060, "Connection timed out."},
    Entry{10061, "Connection refused."},
    Entry{10062, "Too many levels of symbolic links."},
    Entry{10063, "File name too long."},
    Entry{10064, "Host is down."},
    Entry{10065, "No route to host."},
    Entry{10066, "Directory not empty"},
    Entry{kWsaHostNotFound, "Host not found."},
    Entry{kIpGeneralFailure, "General failure."},
};

} // namespace

std::string_view socketErrorText(int code)
{
    for (const auto& [known, text] : kTexts)
        if (known == code)
            return text;
    return {};
}

std::string socketErrorMessage(int code)
{
    std::string message = "Socket Error # ";
    message += std::to_string(code);
    message += "\r\n";
    message += socketErrorText(code);
    return message;
}

} // namespace probe
