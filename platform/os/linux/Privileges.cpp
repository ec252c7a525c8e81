// Linux: dropping capabilities, the standard descriptors kept open, and the
// ICMP helper started as a child holding only raw-socket rights, reached over
// a socket pair and reaped by a SIGCHLD handler.

#include "platform/os/Privileges.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <linux/capability.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

// The one helper of this process: set once before any thread exists.
int& helperChannel()
{
    static int channel = -1;
    return channel;
}

// The helper's process, reaped by onChildEnded whenever it ends.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): a signal handler reads it
volatile pid_t helperProcess = -1;

using SignalAction = struct sigaction;

void onChildEnded(int /*signal*/)
{
    // Only our helper: the toolkit's children are the toolkit's to wait for.
    const int saved = errno;
    if (helperProcess > 0 && ::waitpid(helperProcess, nullptr, WNOHANG) == helperProcess)
        helperProcess = -1;
    errno = saved;
}

int processControl(int option, unsigned long first, unsigned long second = 0)
{
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): prctl(2) is declared variadic
    return ::prctl(option, first, second, 0UL, 0UL);
}

long capabilityCall(long number, __user_cap_header_struct* header, __user_cap_data_struct* data)
{
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): syscall(2) is declared variadic
    return ::syscall(number, header, data);
}

// The helper's place relative to this executable: the same in the build tree
// (app/ beside libexec/) and installed (/usr/bin beside /usr/libexec).
constexpr char kHelperRelativePath[] = "/../libexec/mrv7k2-setup/mrv7k2-icmp-helper";
// The descriptor number the helper expects its end of the pair on.
constexpr int kHelperChannelFd = 3;

// The helper's first descriptor that is not its own: from here on
// everything closes before exec, whatever this program inherited.
constexpr int kHelperFirstForeignFd = kHelperChannelFd + 1;
// Where close_range is missing (kernels before 5.9): as far as closing goes.
constexpr int kHelperFdLimit = 1024;

bool pingSocketAllowed()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// The helper's path from /proc/self/exe, never from PATH or the environment.
bool helperPath(std::array<char, PATH_MAX>& path)
{
    std::array<char, PATH_MAX> self{};
    const ssize_t n = ::readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (n <= 0)
        return false;
    auto dirEnd = static_cast<std::size_t>(n);
    while (dirEnd > 0 && self[dirEnd - 1] != '/')
        --dirEnd;
    if (dirEnd <= 1)
        return false;
    const std::size_t dirLength = dirEnd - 1; // without the final '/'
    const std::size_t suffix = sizeof kHelperRelativePath - 1;
    if (dirLength + suffix + 1 > path.size())
        return false;
    std::size_t at = 0;
    for (std::size_t i = 0; i < dirLength; ++i)
        path[at++] = self[i];
    for (std::size_t i = 0; i < suffix; ++i)
        path[at++] = kHelperRelativePath[i];
    path[at] = '\0';
    return ::access(path.data(), X_OK) == 0;
}

bool capabilityState(std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3>& data)
{
    __user_cap_header_struct header{};
    header.version = _LINUX_CAPABILITY_VERSION_3;
    header.pid = 0;
    return capabilityCall(SYS_capget, &header, data.data()) == 0;
}

} // namespace

void openStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): fcntl(2) is declared variadic
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free number is the closed one.
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): open(2) is declared variadic
        const int opened = ::open("/dev/null", O_RDWR);
        if (opened != fd && opened >= 0)
            ::close(opened);
    }
}

bool holdsAnyCapability()
{
    std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3> data{};
    // Unreadable counts as held: nothing says it is not.
    if (!capabilityState(data))
        return true;
    return !std::ranges::all_of(data, [](const __user_cap_data_struct& word) {
        return word.effective == 0 && word.permitted == 0 && word.inheritable == 0;
    });
}

bool dropAllCapabilities()
{
    // The bounding set first: dropping from it needs CAP_SETPCAP, which the
    // sets below are about to lose. Without it (an ordinary user) it fails
    // harmlessly; nothing more can be regained through exec then anyway.
    for (unsigned long cap = 0; cap <= CAP_LAST_CAP; ++cap)
        (void)processControl(PR_CAPBSET_DROP, cap);
    (void)processControl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL);
    __user_cap_header_struct header{};
    header.version = _LINUX_CAPABILITY_VERSION_3;
    header.pid = 0;
    std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3> data{};
    if (capabilityCall(SYS_capset, &header, data.data()) != 0)
        return false;
    return !holdsAnyCapability();
}

void startIcmpHelperIfNeeded()
{
    if (helperChannel() >= 0 || pingSocketAllowed())
        return;
    std::array<char, PATH_MAX> path{};
    if (!helperPath(path))
        return;
    std::array<int, 2> pair{-1, -1};
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair.data()) != 0)
        return;
    // SIGCHLD waits until the helper's number is known, so that an early end
    // is reaped too.
    sigset_t childEnded{};
    sigset_t before{};
    sigemptyset(&childEnded);
    sigaddset(&childEnded, SIGCHLD);
    (void)::pthread_sigmask(SIG_BLOCK, &childEnded, &before);
    const pid_t child = ::fork();
    if (child == 0) {
        // Only async-signal-safe calls until exec. The helper's end becomes
        // descriptor 3 without close-on-exec; every other descriptor closes,
        // inherited ones included.
        // NOLINTNEXTLINE(concurrency-mt-unsafe): one thread here; async-signal-safe
        (void)::sigprocmask(SIG_SETMASK, &before, nullptr);
        if (pair[1] != kHelperChannelFd) {
            if (::dup2(pair[1], kHelperChannelFd) < 0)
                ::_exit(127);
        } else {
            // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): fcntl(2) is declared variadic
            (void)::fcntl(kHelperChannelFd, F_SETFD, 0);
        }
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): syscall(2) is declared variadic
        if (::syscall(SYS_close_range, kHelperFirstForeignFd, ~0U, 0U) != 0) {
            for (int fd = kHelperFirstForeignFd; fd < kHelperFdLimit; ++fd)
                (void)::close(fd);
        }
        char* const argv[] = {path.data(), nullptr};
        char* const envp[] = {nullptr};
        ::execve(path.data(), argv, envp);
        ::_exit(127);
    }
    ::close(pair[1]);
    if (child > 0) {
        helperProcess = child;
        SignalAction onEnd{};
        onEnd.sa_handler = onChildEnded;
        onEnd.sa_flags = SA_RESTART | SA_NOCLDSTOP;
        sigemptyset(&onEnd.sa_mask);
        (void)::sigaction(SIGCHLD, &onEnd, nullptr);
    }
    (void)::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    if (child < 0) {
        ::close(pair[0]);
        return;
    }
    helperChannel() = pair[0];
}

int icmpHelperChannel()
{
    return helperChannel();
}

std::size_t exchangeWithIcmpHelper(const std::uint8_t* request, std::size_t requestSize,
                                   std::uint8_t* reply, std::size_t replyCapacity, int timeoutMs)
{
    if (helperChannel() < 0)
        return 0;
    // A reply left over from an exchange that timed out is stale: drop it.
    std::array<std::uint8_t, 16> stale{};
    for (int i = 0; i < 16 && ::recv(helperChannel(), stale.data(), stale.size(), MSG_DONTWAIT) > 0;
         ++i) {
    }
    if (::send(helperChannel(), request, requestSize, MSG_NOSIGNAL) !=
        static_cast<ssize_t>(requestSize))
        return 0;
    pollfd ready{helperChannel(), POLLIN, 0};
    if (::poll(&ready, 1, timeoutMs < 0 ? 0 : timeoutMs) != 1)
        return 0;
    // A longer message than ours is cut and then refused by its size.
    const ssize_t n = ::recv(helperChannel(), reply, replyCapacity, MSG_DONTWAIT | MSG_TRUNC);
    return n > 0 && static_cast<std::size_t>(n) <= replyCapacity ? static_cast<std::size_t>(n) : 0;
}

} // namespace platform
