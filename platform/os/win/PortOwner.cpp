// Windows: the owner of a UDP port from the system's UDP table, with its
// program and account where this user may open the process.

#include "platform/os/PortOwner.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include <cstddef>
#include <vector>

namespace platform {
namespace {

std::string utf8(const wchar_t* text, int length)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

// The process that owns the port in the system's UDP table; 0 when none does.
DWORD ownerProcess(std::uint16_t port)
{
    ULONG size = 0;
    if (::GetExtendedUdpTable(nullptr, &size, FALSE, AF_INET, UDP_TABLE_OWNER_PID, 0) !=
            ERROR_INSUFFICIENT_BUFFER ||
        size == 0)
        return 0;
    std::vector<unsigned char> room(size);
    auto* table = reinterpret_cast<MIB_UDPTABLE_OWNER_PID*>(room.data());
    if (::GetExtendedUdpTable(table, &size, FALSE, AF_INET, UDP_TABLE_OWNER_PID, 0) != NO_ERROR)
        return 0;
    const std::size_t fits =
        (room.size() - offsetof(MIB_UDPTABLE_OWNER_PID, table)) / sizeof(MIB_UDPROW_OWNER_PID);
    const std::size_t count = table->dwNumEntries < fits ? table->dwNumEntries : fits;
    for (std::size_t i = 0; i < count; ++i) {
        const MIB_UDPROW_OWNER_PID& row = table->table[i];
        if (::ntohs(static_cast<u_short>(row.dwLocalPort)) == port)
            return row.dwOwningPid;
    }
    return 0;
}

std::string programName(HANDLE process)
{
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (::QueryFullProcessImageNameW(process, 0, path, &length) == 0)
        return {};
    DWORD start = length;
    while (start > 0 && path[start - 1] != L'\\')
        --start;
    return utf8(path + start, static_cast<int>(length - start));
}

std::string accountName(HANDLE process)
{
    HANDLE token = nullptr;
    if (::OpenProcessToken(process, TOKEN_QUERY, &token) == 0)
        return {};
    std::string name;
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> room(size);
    if (size != 0 && ::GetTokenInformation(token, TokenUser, room.data(), size, &size) != 0) {
        const auto* user = reinterpret_cast<const TOKEN_USER*>(room.data());
        wchar_t account[256] = {};
        wchar_t domain[256] = {};
        DWORD accountSize = 256;
        DWORD domainSize = 256;
        SID_NAME_USE use{};
        if (::LookupAccountSidW(nullptr, user->User.Sid, account, &accountSize, domain, &domainSize,
                                &use) != 0)
            name = utf8(account, static_cast<int>(accountSize));
    }
    ::CloseHandle(token);
    return name;
}

} // namespace

// Another user's process can be opened only by an administrator; then
// neither its name nor its account is told.
std::optional<PortOwner> udpPortOwner(std::uint16_t port)
{
    const DWORD pid = ownerProcess(port);
    if (pid == 0)
        return std::nullopt;
    PortOwner owner;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process != nullptr) {
        owner.program = programName(process);
        owner.user = accountName(process);
        ::CloseHandle(process);
    }
    return owner;
}

} // namespace platform
