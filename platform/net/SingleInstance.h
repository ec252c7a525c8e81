#pragma once
// One running instance per user. The first start holds a name for its whole
// life and listens on it; a later start finds the name held, asks the holder
// to bring its window forward and then leaves. Nothing is written to disk:
// on Linux the name is a Unix socket in the abstract namespace (bound is
// claimed, and the kernel frees it with the process, so a crashed holder
// leaves nothing behind); on Windows it is the named mutex of the title, with
// a local pipe beside it for the request to come forward.

#include "platform/os/LocalChannel.h"

#include <QObject>
#include <QString>
#include <memory>

namespace platform {

class SingleInstance : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    enum class Outcome
    {
        Primary,          // we hold the name (or cannot hold one at all) and run
        OtherNotified,    // another instance runs and was asked to come forward
        OtherUnreachable, // another instance holds the name but did not answer
    };

    // title: the application title; the name joins it with the user's id.
    explicit SingleInstance(const QString& title, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the name or notifies its holder. Call once. Waits at most about
    // two seconds, for a holder that has the name but is not listening yet.
    Outcome claim();

    // What later starts connect to.
    QString serverName() const { return m_serverName; }
    bool isListening() const;

signals:
    // A later start asked this (primary) instance to show its window.
    void activationRequested();

private:
    // Per system (linux/, win/).
    static QString nameFor(const QString& title);

    // True when listening; otherwise *nameTaken tells whether a live
    // process holds the name.
    bool listen(bool* nameTaken);
    LocalNotice notifyHolder() const;
    void onConnectionWaiting();

    QString m_title;
    QString m_serverName;
    LocalListener m_listener;
    QObject* m_listenWatch = nullptr; // a child while listening
};

} // namespace platform
