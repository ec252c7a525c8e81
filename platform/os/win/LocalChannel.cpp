// Windows: the named mutex of the name is the claim, held open for the
// process's life; the system frees it with the process, so a crashed holder
// leaves nothing behind. A named pipe of the name and the session carries the
// requests: the mutex lives in the session's namespace, but pipe names are
// machine-wide.

#include "platform/os/LocalChannel.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <windows.h>

namespace platform {

namespace {

// What the holder's end of the pipe buffers before a writer has to wait:
// room for many requests that arrive before the holder reads.
constexpr DWORD kPipeBufferSize = 512;
constexpr std::size_t kReadChunk = 16;
constexpr DWORD kAnswerBufferSize = 16;
// Instances alive at once: the peers the holder serves, one it is closing
// because it already serves that many, and the one waiting for the next start.
constexpr DWORD kPipeInstances = kLocalPeerLimit + 2;

// The user a process runs as, copied out of its token.
class TokenUser
{
public:
    bool readFrom(HANDLE process)
    {
        HANDLE token = nullptr;
        if (OpenProcessToken(process, TOKEN_QUERY, &token) == 0)
            return false;
        DWORD size = 0;
        const bool read = GetTokenInformation(token, ::TokenUser, m_bytes,
                                              static_cast<DWORD>(sizeof m_bytes), &size) != 0;
        CloseHandle(token);
        m_valid = read && IsValidSid(sid()) != 0;
        return m_valid;
    }
    PSID sid() const { return reinterpret_cast<const TOKEN_USER*>(m_bytes)->User.Sid; }
    bool sameAs(const TokenUser& other) const
    {
        return m_valid && other.m_valid && EqualSid(sid(), other.sid()) != 0;
    }

private:
    alignas(TOKEN_USER) unsigned char m_bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE]{};
    bool m_valid = false;
};

// Whether the process that made the pipe at the other end runs as our user.
// A process we may not even look at is not ours.
bool pipeServerIsSameUser(HANDLE pipe, DWORD* serverId)
{
    ULONG id = 0;
    if (GetNamedPipeServerProcessId(pipe, &id) == 0)
        return false;
    HANDLE server = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!server)
        return false;
    TokenUser theirs;
    TokenUser ours;
    const bool same =
        theirs.readFrom(server) && ours.readFrom(GetCurrentProcess()) && ours.sameAs(theirs);
    CloseHandle(server);
    *serverId = id;
    return same;
}

// The holder's one-byte answer, waiting at most limitMs: a holder that took
// the bytes but is stuck does not answer. overlapped is free for reuse.
bool answered(HANDLE pipe, OVERLAPPED& overlapped, DWORD limitMs)
{
    char heard = 0;
    ResetEvent(overlapped.hEvent);
    HANDLE event = overlapped.hEvent;
    overlapped = OVERLAPPED{};
    overlapped.hEvent = event;
    if (ReadFile(pipe, &heard, 1, nullptr, &overlapped) == 0 && GetLastError() != ERROR_IO_PENDING)
        return false;
    if (WaitForSingleObject(event, limitMs) != WAIT_OBJECT_0)
        CancelIoEx(pipe, &overlapped);
    DWORD got = 0;
    return GetOverlappedResult(pipe, &overlapped, &got, TRUE) != 0 && got == 1 && heard == '\n';
}

// Security for the pipe: our user alone may open it or make more instances of
// it; without a DACL of our own the default one would let others read it.
class OwnerOnlySecurity
{
public:
    OwnerOnlySecurity() = default;
    ~OwnerOnlySecurity() = default;
    // The attributes point into the object itself.
    OwnerOnlySecurity(const OwnerOnlySecurity&) = delete;
    OwnerOnlySecurity& operator=(const OwnerOnlySecurity&) = delete;
    OwnerOnlySecurity(OwnerOnlySecurity&&) = delete;
    OwnerOnlySecurity& operator=(OwnerOnlySecurity&&) = delete;

    // Null when it cannot be built: then no pipe is made at all.
    SECURITY_ATTRIBUTES* attributes()
    {
        if (m_built)
            return &m_attributes;
        auto* acl = reinterpret_cast<PACL>(m_acl);
        if (!m_user.readFrom(GetCurrentProcess()) ||
            InitializeAcl(acl, static_cast<DWORD>(sizeof m_acl), ACL_REVISION) == 0 ||
            AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, m_user.sid()) == 0 ||
            InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) == 0 ||
            SetSecurityDescriptorDacl(&m_descriptor, TRUE, acl, FALSE) == 0)
            return nullptr;
        m_attributes.nLength = sizeof m_attributes;
        m_attributes.lpSecurityDescriptor = &m_descriptor;
        m_attributes.bInheritHandle = FALSE;
        m_built = true;
        return &m_attributes;
    }

private:
    TokenUser m_user;
    alignas(ACL) unsigned char m_acl[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) +
                                     SECURITY_MAX_SID_SIZE]{};
    SECURITY_DESCRIPTOR m_descriptor{};
    SECURITY_ATTRIBUTES m_attributes{};
    bool m_built = false;
};

std::string pipePath(const std::string& name)
{
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return R"(\\.\pipe\)" + name + '-' + std::to_string(session);
}

std::intptr_t numberOf(HANDLE handle)
{
    return reinterpret_cast<std::intptr_t>(handle);
}

// Ends an overlapped operation that may still run, so that its OVERLAPPED
// and buffer can go: the system writes to them until it reports the end.
void cancelAndWait(HANDLE file, OVERLAPPED& overlapped)
{
    CancelIoEx(file, &overlapped);
    DWORD transferred = 0;
    GetOverlappedResult(file, &overlapped, &transferred, TRUE);
}

// One later start's end of the pipe. One overlapped read is kept under way;
// its event is what the event loop watches.
class PipePeer final : public LocalPeer
{
public:
    PipePeer(HANDLE pipe, HANDLE event) : m_pipe(pipe), m_event(event) { startRead(); }
    ~PipePeer() override
    {
        if (m_reading)
            cancelAndWait(m_pipe, m_overlapped);
        CloseHandle(m_pipe);
        CloseHandle(m_event);
    }
    PipePeer(const PipePeer&) = delete;
    PipePeer& operator=(const PipePeer&) = delete;

    std::intptr_t handle() const override { return numberOf(m_event); }

    void answer() override
    {
        OVERLAPPED overlapped{};
        overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (!overlapped.hEvent)
            return;
        const char heard = '\n';
        // The pipe's outbound buffer takes the byte at once; a write that
        // has to wait is given up rather than waited for.
        if (WriteFile(m_pipe, &heard, 1, nullptr, &overlapped) == 0 &&
            GetLastError() == ERROR_IO_PENDING &&
            WaitForSingleObject(overlapped.hEvent, 0) != WAIT_OBJECT_0)
            cancelAndWait(m_pipe, overlapped);
        CloseHandle(overlapped.hEvent);
    }

    Read read(char* buffer, std::size_t capacity) override
    {
        Read result;
        if (m_reading) {
            DWORD got = 0;
            if (GetOverlappedResult(m_pipe, &m_overlapped, &got, FALSE) != 0) {
                m_reading = false;
                m_filled = got;
            } else if (GetLastError() == ERROR_IO_INCOMPLETE) {
                return result;
            } else {
                m_reading = false; // ERROR_BROKEN_PIPE: the writer has closed its end
                m_ended = true;
            }
        }
        result.size = std::min(capacity, m_filled - m_taken);
        std::memcpy(buffer, m_bytes.data() + m_taken, result.size);
        m_taken += result.size;
        // Bytes left over keep the event set, so the loop calls again for them.
        if (m_taken == m_filled && !m_ended)
            startRead();
        result.ended = m_ended;
        return result;
    }

private:
    void startRead()
    {
        m_taken = m_filled = 0;
        m_overlapped = OVERLAPPED{};
        m_overlapped.hEvent = m_event;
        // Done at once or under way, the outcome is fetched the same way.
        if (ReadFile(m_pipe, m_bytes.data(), static_cast<DWORD>(m_bytes.size()), nullptr,
                     &m_overlapped) != 0 ||
            GetLastError() == ERROR_IO_PENDING) {
            m_reading = true;
            return;
        }
        // Gone already: the watcher must still hear of it.
        m_ended = true;
        SetEvent(m_event);
    }

    HANDLE m_pipe;
    HANDLE m_event; // manual reset, set while the read has an outcome to fetch
    OVERLAPPED m_overlapped{};
    std::array<char, kReadChunk> m_bytes{};
    std::size_t m_filled = 0; // bytes the last read brought
    std::size_t m_taken = 0;  // of those, handed out
    bool m_reading = false;
    bool m_ended = false;
};

} // namespace

struct LocalListener::State
{
    // The claim. Never closed, not even by close(): the name stays ours
    // until the process ends.
    HANDLE mutex = nullptr;
    std::string pipeName;
    // The instance waiting for the next later start, and its connect.
    HANDLE pipe = INVALID_HANDLE_VALUE;
    HANDLE event = nullptr; // manual reset, set once a later start has connected
    OVERLAPPED overlapped{};
    bool connecting = false; // the overlapped connect is under way
    bool connected = false;  // a later start connected before the connect was asked
    OwnerOnlySecurity security;

    // Makes a pipe instance and starts waiting for a client on it. False
    // when no instance could be made or the wait could not start.
    bool startInstance(bool first)
    {
        SECURITY_ATTRIBUTES* const ownerOnly = security.attributes();
        if (!ownerOnly)
            return false;
        // Duplex: the holder answers every request it heard.
        DWORD openMode = PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED;
        if (first)
            openMode |= FILE_FLAG_FIRST_PIPE_INSTANCE; // the name is not someone else's pipe
        pipe = CreateNamedPipeA(pipeName.c_str(), openMode,
                                PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT |
                                    PIPE_REJECT_REMOTE_CLIENTS,
                                kPipeInstances, kAnswerBufferSize, kPipeBufferSize, 0, ownerOnly);
        if (pipe == INVALID_HANDLE_VALUE)
            return false;
        ResetEvent(event);
        overlapped = OVERLAPPED{};
        overlapped.hEvent = event;
        connecting = false;
        connected = false;
        const bool done = ConnectNamedPipe(pipe, &overlapped) != 0;
        const DWORD error = done ? ERROR_SUCCESS : GetLastError();
        if (error == ERROR_IO_PENDING) {
            connecting = true;
            return true;
        }
        // ERROR_NO_DATA: the client came and closed again; its peer reads the end.
        if (done || error == ERROR_PIPE_CONNECTED || error == ERROR_NO_DATA) {
            connected = true;
            SetEvent(event);
            return true;
        }
        CloseHandle(pipe);
        pipe = INVALID_HANDLE_VALUE;
        return false;
    }

    void endInstance()
    {
        if (pipe == INVALID_HANDLE_VALUE)
            return;
        if (connecting)
            cancelAndWait(pipe, overlapped);
        CloseHandle(pipe);
        pipe = INVALID_HANDLE_VALUE;
        connecting = false;
        connected = false;
    }
};

LocalListener::LocalListener() : m_state(std::make_unique<State>()) {}

LocalListener::~LocalListener()
{
    close();
}

LocalListener::Claim LocalListener::claim(const std::string& name)
{
    close();
    State& state = *m_state;
    if (!state.mutex) {
        if (name.empty())
            return Claim::Unavailable;
        if (HANDLE existing = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str())) {
            CloseHandle(existing);
            return Claim::Taken;
        }
        // A mutex we may not open is there all the same (made by an elevated
        // start, say): someone holds the name.
        if (GetLastError() == ERROR_ACCESS_DENIED)
            return Claim::Taken;
        SetLastError(ERROR_SUCCESS);
        HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
        if (!mutex)
            return GetLastError() == ERROR_ACCESS_DENIED ? Claim::Taken : Claim::Unavailable;
        if (GetLastError() == ERROR_ALREADY_EXISTS) { // made since the open above
            CloseHandle(mutex);
            return Claim::Taken;
        }
        state.mutex = mutex;
    }
    // Without a pipe the name is still ours; later starts just cannot reach us.
    state.pipeName = pipePath(name);
    state.event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (state.event && !state.startInstance(true)) {
        CloseHandle(state.event);
        state.event = nullptr;
    }
    return Claim::Held;
}

void LocalListener::close()
{
    State& state = *m_state;
    state.endInstance();
    if (state.event)
        CloseHandle(state.event);
    state.event = nullptr;
}

bool LocalListener::isListening() const
{
    return m_state->pipe != INVALID_HANDLE_VALUE;
}

std::intptr_t LocalListener::handle() const
{
    return isListening() ? numberOf(m_state->event) : -1;
}

std::unique_ptr<LocalPeer> LocalListener::accept(bool* outOfHandles)
{
    // Only our user can open the pipe, so there is nobody to turn away here;
    // a handle the system cannot give ends the listening instead.
    if (outOfHandles)
        *outOfHandles = false;
    State& state = *m_state;
    if (state.pipe == INVALID_HANDLE_VALUE)
        return nullptr;
    bool usable = state.connected;
    if (state.connecting) {
        DWORD unused = 0;
        if (GetOverlappedResult(state.pipe, &state.overlapped, &unused, FALSE) != 0) {
            usable = true;
        } else {
            const DWORD error = GetLastError();
            if (error == ERROR_IO_INCOMPLETE)
                return nullptr; // nobody yet
            usable = error == ERROR_PIPE_CONNECTED || error == ERROR_NO_DATA;
        }
        state.connecting = false;
    } else if (!state.connected) {
        return nullptr;
    }

    // The instance is done with: connected, it goes to its peer; failed, it
    // goes. Either way a fresh one waits for the next later start.
    std::unique_ptr<LocalPeer> peer;
    HANDLE peerEvent = usable ? CreateEventA(nullptr, TRUE, FALSE, nullptr) : nullptr;
    if (peerEvent)
        peer = std::make_unique<PipePeer>(state.pipe, peerEvent);
    else
        CloseHandle(state.pipe); // the client, if any, sees its pipe broken
    state.pipe = INVALID_HANDLE_VALUE;
    state.connected = false;
    if (!state.startInstance(false))
        ResetEvent(state.event); // no longer listening: nothing more to report
    return peer;
}

LocalNotice sendToHolder(const std::string& name, const char* data, std::size_t size, int timeoutMs,
                         const std::function<void(std::uint32_t)>& beforeSending)
{
    if (name.empty() || size > MAXDWORD)
        return LocalNotice::NoAnswer;
    // 0 would ask for the pipe's default wait.
    const DWORD limitMs = timeoutMs < 1 ? 1 : static_cast<DWORD>(timeoutMs);
    const std::string path = pipePath(name);
    if (WaitNamedPipeA(path.c_str(), limitMs) == 0)
        return LocalNotice::NoAnswer;
    // Identification only: whoever made the pipe learns who we are but cannot
    // act as us. Overlapped, so that the write has a time limit too.
    HANDLE pipe = CreateFileA(
        path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
        FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
        // Our own holder's pipe lets us in: one that shuts us out is not ours.
        return GetLastError() == ERROR_ACCESS_DENIED ? LocalNotice::ForeignHolder
                                                     : LocalNotice::NoAnswer;
    }
    // Pipe names are machine-wide: anyone may have made one of this name.
    DWORD holderId = 0;
    if (!pipeServerIsSameUser(pipe, &holderId)) {
        CloseHandle(pipe);
        return LocalNotice::ForeignHolder;
    }
    if (beforeSending)
        beforeSending(static_cast<std::uint32_t>(holderId));
    LocalNotice notice = LocalNotice::NoAnswer;
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (overlapped.hEvent) {
        if (WriteFile(pipe, data, static_cast<DWORD>(size), nullptr, &overlapped) != 0 ||
            GetLastError() == ERROR_IO_PENDING) {
            // The holder's buffer takes a request at once; a full one waits for its reads.
            if (WaitForSingleObject(overlapped.hEvent, limitMs) != WAIT_OBJECT_0)
                CancelIoEx(pipe, &overlapped);
            DWORD written = 0;
            if (GetOverlappedResult(pipe, &overlapped, &written, TRUE) != 0 && written == size &&
                answered(pipe, overlapped, limitMs))
                notice = LocalNotice::Delivered;
        }
        CloseHandle(overlapped.hEvent);
    }
    CloseHandle(pipe);
    return notice;
}

} // namespace platform
