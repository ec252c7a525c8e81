// Compares this process's network namespace with init's.

#include "tools/nas-sim/LabNamespace.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev;
}

} // namespace

bool LabNamespace::isCurrent()
{
    struct stat self
    {
    };
    if (stat("/proc/self/ns/net", &self) != 0)
        return false;
    const QFileInfoList named =
        QDir(QStringLiteral("/run/netns")).entryInfoList(QDir::Files | QDir::System);
    for (const QFileInfo& entry : named) {
        struct stat ns
        {
        };
        if (stat(QFile::encodeName(entry.absoluteFilePath()).constData(), &ns) == 0 &&
            sameFile(self, ns))
            return true;
    }
    // In a sandbox even root may be refused a look at init's namespace: then
    // only a named namespace counts.
    struct stat init
    {
    };
    if (stat("/proc/1/ns/net", &init) != 0)
        return false;
    return !sameFile(self, init);
}
