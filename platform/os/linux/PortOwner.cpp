#include "platform/os/PortOwner.h"

#include <cctype>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <unistd.h>
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
        std::string slot, local, remote, state, queues, timer, retransmits;
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

bool isNumber(const char* name)
{
    for (const char* c = name; *c != '\0'; ++c)
        if (std::isdigit(static_cast<unsigned char>(*c)) == 0)
            return false;
    return *name != '\0';
}

// The process whose descriptors hold the socket. Only processes whose
// descriptors this process may read (its own user's) can be named.
std::string programOf(unsigned long inode)
{
    if (inode == 0)
        return {};
    const std::string wanted = "socket:[" + std::to_string(inode) + "]";
    DIR* processes = opendir("/proc");
    if (processes == nullptr)
        return {};
    std::string program;
    while (const dirent* p = readdir(processes)) {
        if (!isNumber(p->d_name))
            continue;
        const std::string base = std::string("/proc/") + p->d_name;
        DIR* fds = opendir((base + "/fd").c_str());
        if (fds == nullptr)
            continue;
        bool holds = false;
        while (const dirent* f = readdir(fds)) {
            char target[64] = {};
            const std::string link = base + "/fd/" + f->d_name;
            const ssize_t got = readlink(link.c_str(), target, sizeof target - 1);
            if (got > 0 && wanted == std::string(target, static_cast<std::size_t>(got))) {
                holds = true;
                break;
            }
        }
        closedir(fds);
        if (holds) {
            std::ifstream comm(base + "/comm");
            std::getline(comm, program);
            break;
        }
    }
    closedir(processes);
    return program;
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
