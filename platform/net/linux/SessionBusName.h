#pragma once
// The desktop's own rendezvous for one instance per user, as GApplication and
// KDBusService use it: a well-known name on the session bus. Unlike an
// abstract socket, which every process sharing the network namespace can
// bind, a sandboxed app (Flatpak) reaches the bus only through a proxy that
// lets it own no name but its own, so it can neither hold ours nor answer
// in its place. The later start hands its activation token over the bus.

#include <QObject>
#include <QString>

namespace platform {

class SessionBusName : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.mrv7k2.SingleInstance")

public:
    enum class Claim
    {
        NoBus,         // no session bus here: the caller decides by other means
        Owned,         // the name is ours; later starts call activate()
        OtherNotified, // its owner took our request
        OwnerSilent,   // owned, but the owner did not answer in time
    };

    // busName: a well-known name (reverse domain, as the desktop id).
    explicit SessionBusName(QString busName, QObject* parent = nullptr);
    ~SessionBusName() override;
    SessionBusName(const SessionBusName&) = delete;
    SessionBusName& operator=(const SessionBusName&) = delete;

    // Owns the name, or calls its owner's activate() with launchToken,
    // waiting at most timeoutMs. Call once.
    Claim claim(const QString& launchToken, int timeoutMs);

    // A later start's request, called over the bus. A token that is not a
    // short run of printable ASCII is passed on as none.
    Q_SCRIPTABLE Q_SLOT void activate(const QString& token);

signals:
    void activationRequested(const QString& token);

private:
    QString m_busName;
    bool m_owned = false;
};

} // namespace platform
