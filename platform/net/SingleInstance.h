#pragma once
// One running instance per user. The first start holds a name for its whole
// life and listens on it; a later start finds the name held, asks the holder
// to bring its window forward and then leaves. Nothing is written to disk.
// On Linux with a session bus, the name is a well-known name on the bus,
// which no sandboxed app can own (the abstract socket below is held beside
// it, for starts that see no bus); otherwise the name is a Unix socket in the
// abstract namespace (bound is
// claimed, and the kernel frees it with the process, so a crashed holder
// leaves nothing behind); on Windows it is the named mutex of the title, with
// a local pipe beside it for the request to come forward.

#include "platform/os/LocalChannel.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace platform {

class ReadyWatch;

class SingleInstance : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    enum class Outcome
    {
        Primary,       // we run: we hold the name, or none can be had, or its
                       // holder is not ours or did not answer in time
        OtherNotified, // another instance runs and was asked to come forward
    };

    // title: the application title; the name joins it with the user's id.
    explicit SingleInstance(const QString& title, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Claims on the session bus as busName first, where there is one (Linux).
    void useSessionBus(const QString& busName) { m_busName = busName; }

    // Takes the name or notifies its holder, handing it launchToken (this
    // start's activation token, see ActivationRequest). Call once. Waits at most about
    // a second, for a holder that has the name but is not listening yet; a
    // name nobody of ours answers on in that time does not keep us from
    // running (then without a name: later starts run too).
    Outcome claim(const QString& launchToken = {});

    // What later starts connect to.
    QString serverName() const { return m_serverName; }
    bool isListening() const;

signals:
    // A later start asked this (primary) instance to show its window.
    // activationToken: the token its launcher gave it (printable ASCII), or
    // empty; the window system may only let our window take the focus with it.
    void activationRequested(const QString& activationToken);

private:
    // Per system (linux/, win/).
    static QString nameFor(const QString& title);
    // Lets the holder of the name, once its user is checked, take the
    // foreground this start has (Windows); nothing where no such right exists.
    static void letHolderComeForward(std::uint32_t holderProcessId);
    // The claim on the session bus (Linux); nullopt where there is none, and
    // the name below decides.
    std::optional<Outcome> claimOnSessionBus(const QString& launchToken, int timeoutMs);

    // True when listening; otherwise *nameTaken tells whether a live
    // process holds the name.
    bool listen(bool* nameTaken);
    LocalNotice notifyHolder(const QString& launchToken, int timeoutMs) const;
    void watchListener();
    void onConnectionWaiting();

    QString m_title;
    QString m_busName;
    QString m_serverName;
    LocalListener m_listener;
    ReadyWatch* m_listenWatch = nullptr; // a child while listening
    std::shared_ptr<int> m_livePeers;    // later starts being read now
};

} // namespace platform
