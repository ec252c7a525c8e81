// startup_watch: starts a command and reports how long it took until the X
// server mapped a window with a given title, and the command's peak resident
// memory a fixed time after the start. Then ends the command.
//
// usage: startup_watch TITLE SECONDS CMD [ARGS...]
// prints one line:
//   "window_ms=<ms|none> cpu_ms=<ms|none> peak_kib=<KiB|none> comm=<name>"
// cpu_ms is the processor time all the command's threads had used when the
// window was mapped: unlike the elapsed time, it hardly depends on what else
// the machine is doing.
//
// The watch runs on the X connection itself (map notices on the root window),
// so no polling interval blurs the figure and no poller competes for the CPU.
// The command's own process is measured: start it through launchers that exec
// (env, ip netns exec), never through ones that fork.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}

std::string property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t name, xcb_atom_t type)
{
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, type, 0, 1024), nullptr);
    std::string value;
    if (r) {
        value.assign(static_cast<const char*>(xcb_get_property_value(r)),
                     std::size_t(xcb_get_property_value_length(r)));
        std::free(r);
    }
    return value;
}

// VmHWM of a live process, in KiB.
std::optional<long> peakKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return std::nullopt;
}

// Processor time of every thread of a live process so far, in milliseconds
// (the scheduler's own nanosecond count, first field of each schedstat).
std::optional<double> cpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return std::nullopt;
    double ns = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
        double run = 0;
        if (stat >> run)
            ns += run;
    }
    closedir(dir);
    return ns / 1e6;
}

std::string commOf(pid_t pid)
{
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? "-" : name;
}

void endProcess(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) { // 2 s, then no more asking
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s TITLE SECONDS CMD [ARGS...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    const double watchMs = std::atof(argv[2]) * 1e3;
    if (!(watchMs > 0 && watchMs <= 60e3)) {
        std::fprintf(stderr, "startup_watch: SECONDS must lie in (0, 60]\n");
        return 2;
    }

    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "startup_watch: cannot open the display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t netWmName = atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    const std::uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // The round trip makes sure the server applies the mask before the start.
    xcb_request_check(c,
                      xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &rootMask));

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("startup_watch: fork");
        return 2;
    }
    if (pid == 0) {
        execvp(argv[3], argv + 3);
        std::perror("startup_watch: exec");
        _exit(127);
    }

    auto titled = [&](xcb_window_t w) {
        return property(c, w, netWmName, utf8) == title ||
               property(c, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY) == title;
    };
    std::optional<double> windowMs;
    std::optional<double> windowCpuMs;
    std::optional<long> peak;
    std::string comm = "-";
    bool exited = false;
    const int fd = xcb_get_file_descriptor(c);
    for (;;) {
        const double left = start + watchMs - nowMs();
        if (left <= 0)
            break;
        if (comm == "-" && nowMs() - start > 500)
            comm = commOf(pid);
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            exited = true;
            break;
        }
        pollfd p{fd, POLLIN, 0};
        // Short slices, so that an early exit of the command is noticed.
        poll(&p, 1, int(std::min(left, 20.0)) + 1);
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            const std::uint8_t type = e->response_type & 0x7F;
            if (type == XCB_MAP_NOTIFY && !windowMs) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
                const double at = nowMs();
                if (titled(map->window)) {
                    windowMs = at - start;
                    windowCpuMs = cpuMs(pid);
                } else {
                    // A title given after mapping still counts, when it comes.
                    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
                    xcb_change_window_attributes(c, map->window, XCB_CW_EVENT_MASK, &mask);
                    xcb_flush(c);
                }
            } else if (type == XCB_PROPERTY_NOTIFY && !windowMs) {
                const auto* change = reinterpret_cast<xcb_property_notify_event_t*>(e);
                if ((change->atom == netWmName || change->atom == XCB_ATOM_WM_NAME) &&
                    titled(change->window)) {
                    windowMs = nowMs() - start;
                    windowCpuMs = cpuMs(pid);
                }
            }
            std::free(e);
        }
        if (xcb_connection_has_error(c))
            break;
    }
    if (!exited) {
        peak = peakKib(pid);
        if (comm == "-")
            comm = commOf(pid);
        endProcess(pid);
    }
    xcb_disconnect(c);

    std::printf("window_ms=%s cpu_ms=%s peak_kib=%s comm=%s\n",
                windowMs ? std::to_string(*windowMs).c_str() : "none",
                windowCpuMs ? std::to_string(*windowCpuMs).c_str() : "none",
                peak ? std::to_string(*peak).c_str() : "none", comm.c_str());
    return exited ? 1 : 0;
}
