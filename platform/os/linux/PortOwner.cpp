// Linux: the owner of a UDP port from /proc/net/udp, its user by uid and its
// program by the process whose descriptors hold the socket.

#include "platform/os/PortOwner.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <pwd.h>
#include <sstream>
#include <string>
#include <sys/types.h>
#include <system_error>
#include <vector>

namespace platform {
namespace {

struct Holder
{
    unsigned long uid = 0;
    unsigned long inode = 0;
};

// /proc/net/udp: one socket a line, "sl local rem st tx:rx tr:when retr uid
// timeout inode ...", the local address as HEX:PORT in hex. A socket with
// inode 0 has no owner left to name.
std::optional<Holder> holderOf(std::uint16_t port)
{
    std::ifstream table("/proc/net/udp");
    std::string line;
    std::getline(table, line); // the heading
    for (int n = 0; n < 100000 && std::getline(table, line); ++n) {
        std::istringstream fields(line);
        std::string slot;
        std::string local;
        std::string remote;
        std::string state;
        std::string queues;
        std::string timer;
        std::string retransmits;
        unsigned long timeout = 0;
        Holder holder;
        if (!(fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >>
              holder.uid >> timeout >> holder.inode))
            continue;
        const auto colon = local.find(':');
        if (colon == std::string::npos ||
            std::strtoul(local.c_str() + colon + 1, nullptr, 16) != port)
            continue;
        return holder;
    }
    return std::nullopt;
}

std::string userName(unsigned long uid)
{
    std::vector<char> room(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(static_cast<uid_t>(uid), &entry, room.data(), room.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr)
        return found->pw_name;
    return std::to_string(uid);
}

// The process whose descriptors hold the socket. Only processes whose
// descriptors this process may read (its own user's) can be named.
std::string findProgram(unsigned long inode)
{
    namespace fs = std::filesystem;
    if (inode == 0)
        return {};
    const std::string wanted = "socket:[" + std::to_string(inode) + "]";
    std::error_code error;
    for (const fs::directory_entry& process : fs::directory_iterator("/proc", error)) {
        const std::string pid = process.path().filename().string();
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code unreadable;
        for (const fs::directory_entry& fd :
             fs::directory_iterator(process.path() / "fd", unreadable)) {
            std::error_code gone;
            if (fs::read_symlink(fd.path(), gone).string() != wanted)
                continue;
            std::string program;
            std::ifstream comm(process.path() / "comm");
            std::getline(comm, program);
            return program;
        }
    }
    return {};
}

std::string programOf(unsigned long inode)
{
    try {
        return findProgram(inode);
    } catch (const std::exception&) {
        return {}; // a process that ended while its descriptors were read, or no memory
    }
}

} // namespace

std::optional<PortOwner> udpPortOwner(std::uint16_t port)
{
    const auto holder = holderOf(port);
    if (!holder)
        return std::nullopt;
    return PortOwner{userName(holder->uid), programOf(holder->inode)};
}

} // namespace platform
