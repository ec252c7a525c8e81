#pragma once
// One running instance per user. The first start holds a lock file for its
// whole life and listens on a local socket; a later start finds the lock
// taken, asks the holder to bring its window forward and then leaves.

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace platform {

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Outcome
    {
        Primary,          // we hold the lock and listen for later starts
        OtherNotified,    // another instance runs and was asked to come forward
        OtherUnreachable, // another instance holds the lock but did not answer
    };

    // name: the application title; directory: where the lock and the socket
    // live (empty: the per-user runtime directory).
    explicit SingleInstance(const QString& name, const QString& directory = {},
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock or notifies its holder. Call once. Waits at most about
    // two seconds, for a holder that has the lock but is not listening yet.
    Outcome claim();

    QString lockFilePath() const;
    QString serverPath() const;

signals:
    // A later start asked this (primary) instance to show its window.
    void activationRequested();

private:
    bool listen();
    bool notifyHolder() const;
    void onNewConnection();

    QString m_directory;
    QString m_name;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace platform
