#include "platform/net/SingleInstance.h"

#include "platform/net/ReadyWatch.h"

#include <algorithm>
#include <array>
#include <functional>

namespace platform {

namespace {

constexpr char kRequest[] = "activate\n";
constexpr std::size_t kRequestSize = sizeof(kRequest) - 1;
constexpr int kIoTimeoutMs = 500;

// Reads one later start's request, as its bytes come, then lets the
// connection go: one request per connection; anything more is not ours to read.
class RequestReader : public QObject
{
public:
    RequestReader(std::unique_ptr<LocalPeer> peer, QObject* parent, std::function<void()> onRequest)
        : QObject(parent), m_peer(std::move(peer)), m_onRequest(std::move(onRequest)),
          m_watch(new ReadyWatch(m_peer->handle(), this))
    {
        connect(m_watch, &ReadyWatch::ready, this, &RequestReader::readMore);
    }
    // The watch goes before the peer whose handle it watches.
    ~RequestReader() override { delete m_watch; }
    RequestReader(const RequestReader&) = delete;
    RequestReader& operator=(const RequestReader&) = delete;

private:
    void readMore()
    {
        if (m_done)
            return;
        const LocalPeer::Read got =
            m_peer->read(m_bytes.data() + m_filled, kRequestSize - m_filled);
        m_filled += got.size;
        if (m_filled == kRequestSize) {
            if (std::equal(m_bytes.begin(), m_bytes.end(), kRequest))
                m_onRequest();
            finish();
        } else if (got.ended) {
            finish(); // gone before the whole request came
        }
    }

    void finish()
    {
        m_done = true;
        m_watch->stop();
        deleteLater();
    }

    std::unique_ptr<LocalPeer> m_peer;
    std::function<void()> m_onRequest;
    ReadyWatch* m_watch;
    std::array<char, kRequestSize> m_bytes{};
    std::size_t m_filled = 0;
    bool m_done = false;
};

} // namespace

SingleInstance::SingleInstance(const QString& title, QObject* parent)
    : QObject(parent), m_title(title), m_serverName(nameFor(title))
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
    auto* watch = new ReadyWatch(m_listener.handle(), this);
    connect(watch, &ReadyWatch::ready, this, &SingleInstance::onConnectionWaiting);
    m_listenWatch = watch;
    return true;
}

LocalNotice SingleInstance::notifyHolder() const
{
    return sendToHolder(m_serverName.toStdString(), kRequest, kRequestSize, kIoTimeoutMs);
}

void SingleInstance::onConnectionWaiting()
{
    while (std::unique_ptr<LocalPeer> peer = m_listener.accept())
        new RequestReader(std::move(peer), this, [this] { emit activationRequested(); });
}

} // namespace platform
