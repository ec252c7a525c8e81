// A hostile Qt plugin, as any user can make the program load one through
// QT_PLUGIN_PATH and QT_QPA_GENERIC_PLUGINS: it writes the capability lines
// of the process it runs in and whether it could open a raw ICMP socket to
// the file MRV_CAP_REPORT names.

#include <QGenericPlugin>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class CapabilityProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "capability_probe.json")

public:
    QObject* create(const QString& /*name*/, const QString& /*parameters*/) override
    {
        const char* path = std::getenv("MRV_CAP_REPORT");
        if (path == nullptr)
            return nullptr;
        std::FILE* out = std::fopen(path, "w");
        if (out == nullptr)
            return nullptr;
        if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
            char line[256];
            for (int i = 0; i < 100 && std::fgets(line, sizeof line, status); ++i) {
                if (std::strncmp(line, "Cap", 3) == 0)
                    std::fputs(line, out);
            }
            std::fclose(status);
        }
        const int fd = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
        std::fprintf(out, "raw: %s\n", fd >= 0 ? "opened" : std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        std::fclose(out);
        return nullptr;
    }
};

#include "CapabilityProbePlugin.moc"
