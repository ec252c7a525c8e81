// Holding the program's name for this user, serving later starts' requests
// with bounded time and count, and asking the holder when the name is taken.

#include "platform/net/SingleInstance.h"

#include "platform/net/ActivationRequest.h"
#include "platform/net/ReadyWatch.h"
#include "platform/os/LocalChannel.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

namespace {

// A later start sends its request at once; one that has not within this
// time is not a start of ours, and its connection goes.
constexpr int kPeerTimeLimitMs = 1000;
// Later starts served at the same time. More connections than this are closed
// as soon as they are taken, so idle ones cannot use up the process's handles.
constexpr int kPeerLimit = kLocalPeerLimit;
// Connections taken in one pass of the event loop, so a flood cannot hold it.
constexpr int kAcceptsPerPass = 64;
// How long the listener rests when the process has no handle left.
constexpr int kOutOfHandlesRestMs = 200;
// Whoever sits on our name (another user can, on either system) may neither
// keep a start waiting longer than this nor keep it from running.
constexpr int kClaimTimeLimitMs = 1000;
constexpr int kAttemptPauseMs = 100;
constexpr int kMaxAttempts = 20; // a second bound, should the clock misbehave

// Reads one later start's request, as its bytes come, then lets the
// connection go: one request per connection; anything more is not ours to read.
class RequestReader : public QObject
{
public:
    RequestReader(std::unique_ptr<LocalPeer> peer, QObject* parent, std::shared_ptr<int> live,
                  std::function<void(const QString& token)> onRequest)
        : QObject(parent), m_peer(std::move(peer)), m_live(std::move(live)),
          m_onRequest(std::move(onRequest)), m_watch(new ReadyWatch(m_peer->handle(), this))
    {
        ++*m_live;
        connect(m_watch, &ReadyWatch::ready, this, &RequestReader::readMore);
        QTimer::singleShot(kPeerTimeLimitMs, this, &RequestReader::finish);
    }
    // The watch goes before the peer whose handle it watches.
    ~RequestReader() override
    {
        delete m_watch;
        --*m_live;
    }
    RequestReader(const RequestReader&) = delete;
    RequestReader& operator=(const RequestReader&) = delete;

private:
    void readMore()
    {
        if (m_done)
            return;
        const LocalPeer::Read got =
            m_peer->read(m_bytes.data() + m_filled, m_bytes.size() - m_filled);
        m_filled += got.size;
        ActivationRequest request;
        switch (readActivationRequest(std::string_view(m_bytes.data(), m_filled), &request)) {
        case RequestProgress::Complete:
            m_peer->answer();
            m_onRequest(QString::fromLatin1(request.token.data(), qsizetype(request.token.size())));
            finish();
            break;
        case RequestProgress::Refused:
            finish();
            break;
        case RequestProgress::Incomplete:
            if (got.ended)
                finish(); // gone before the whole request came
            break;
        }
    }

    void finish()
    {
        if (m_done)
            return;
        m_done = true;
        m_watch->stop();
        deleteLater();
    }

    std::unique_ptr<LocalPeer> m_peer;
    std::shared_ptr<int> m_live; // the holder's count of readers
    std::function<void(const QString& token)> m_onRequest;
    ReadyWatch* m_watch;
    std::array<char, kActivationRequestMaxSize> m_bytes{};
    std::size_t m_filled = 0;
    bool m_done = false;
};

} // namespace

SingleInstance::SingleInstance(const QString& title, QObject* parent)
    : QObject(parent), m_title(title), m_serverName(nameFor(title)),
      m_livePeers(std::make_shared<int>(0))
{
}

SingleInstance::~SingleInstance()
{
    // The watch goes before the listener whose handle it watches.
    delete m_listenWatch;
}

bool SingleInstance::isListening() const
{
    return m_listener.isListening();
}

bool SingleInstance::listen(bool* nameTaken)
{
    const LocalListener::Claim claim = m_listener.claim(m_serverName.toStdString());
    if (nameTaken)
        *nameTaken = claim == LocalListener::Claim::Taken;
    if (!m_listener.isListening())
        return false;
    watchListener();
    return true;
}

void SingleInstance::watchListener()
{
    if (m_listenWatch || !m_listener.isListening())
        return;
    auto* watch = new ReadyWatch(m_listener.handle(), this);
    connect(watch, &ReadyWatch::ready, this, &SingleInstance::onConnectionWaiting);
    m_listenWatch = watch;
}

LocalNotice SingleInstance::notifyHolder(const QString& launchToken, int timeoutMs) const
{
    const std::string request = encodeActivationRequest(launchToken.toStdString());
    return sendToHolder(m_serverName.toStdString(), request.data(), request.size(), timeoutMs,
                        &SingleInstance::letHolderComeForward);
}

SingleInstance::Outcome SingleInstance::claim(const QString& launchToken)
{
    if (const auto onBus = claimOnSessionBus(launchToken, kClaimTimeLimitMs)) {
        // Starts that see no bus still find us; a squatter on that name
        // changes nothing for those that do.
        if (*onBus == Outcome::Primary)
            (void)listen(nullptr);
        return *onBus;
    }
    const QDeadlineTimer deadline(kClaimTimeLimitMs);
    for (int attempt = 0; attempt < kMaxAttempts && !deadline.hasExpired(); ++attempt) {
        bool taken = false;
        if (listen(&taken))
            return Outcome::Primary;
        // Anything but a taken name means no claim is possible here at all:
        // run rather than refuse to start.
        if (!taken)
            return Outcome::Primary;
        const auto left = std::max<qint64>(1, deadline.remainingTime());
        switch (notifyHolder(launchToken, static_cast<int>(left))) {
        case LocalNotice::Delivered:
            return Outcome::OtherNotified;
        case LocalNotice::ForeignHolder:
            // Another user's process sits on our name: it is not our
            // instance, so this start runs (without a name of its own).
            return Outcome::Primary;
        case LocalNotice::NoAnswer:
            break;
        }
        // The holder may have taken the name but not be listening yet.
        const auto pause = std::min<qint64>(kAttemptPauseMs, deadline.remainingTime());
        if (pause > 0)
            QThread::msleep(static_cast<unsigned long>(pause));
    }
    // Held, but nobody of ours answers on it: a hung holder or a squatter.
    // Run without a name rather than not at all.
    return Outcome::Primary;
}

void SingleInstance::onConnectionWaiting()
{
    for (int taken = 0; taken < kAcceptsPerPass; ++taken) {
        bool outOfHandles = false;
        std::unique_ptr<LocalPeer> peer = m_listener.accept(&outOfHandles);
        if (!peer) {
            if (outOfHandles) {
                // The waiting connection keeps the listener ready and cannot
                // be taken: watching on would only spin. Rest, then look again.
                m_listenWatch->stop();
                m_listenWatch->deleteLater();
                m_listenWatch = nullptr;
                QTimer::singleShot(kOutOfHandlesRestMs, this, &SingleInstance::watchListener);
            }
            return;
        }
        if (*m_livePeers >= kPeerLimit)
            continue; // closed unread as it goes out of scope
        new RequestReader(std::move(peer), this, m_livePeers,
                          [this](const QString& token) { emit activationRequested(token); });
    }
}

} // namespace platform
