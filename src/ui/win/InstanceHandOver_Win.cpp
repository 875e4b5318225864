// Platform part of InstanceHandOver: Windows. The running program serves a
// named pipe named after its instance lock; a second start writes its
// arguments (Message) and reads one byte back: '1' taken care of, '0' not.
#include <windows.h>

#include <QCryptographicHash>
#include <QObject>
#include <chrono>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "InstanceHandOver.h"
#include "InstanceLock.h"

namespace {
constexpr DWORD kMaxMessage = 256 * 1024;
// A client that connects and says nothing, or never reads its answer.
constexpr DWORD kTalkTimeout = 2000;
// The running program's window thread decides; it may be busy for a moment.
constexpr DWORD kAnswerTimeout = 10000;

std::wstring PipeName() {
    // Named after the lock: a second start talks to the program it collides with.
    const QByteArray key = QCryptographicHash::hash(InstanceLock::LockPath().toLower().toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(20);
    return L"\\\\.\\pipe\\maple-writer-" + QString::fromLatin1(key).toStdWString();
}

// A kernel handle closed with its owner.
class Handle {
  public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() {
        if (Valid()) ::CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_handle; }
    bool Valid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }

  private:
    HANDLE m_handle;
};

// Completes an overlapped operation whose start returned `started`: the bytes
// moved, or nothing after a failure, `timeout` ms or `stop` (may be null).
std::optional<DWORD> Finish(HANDLE pipe, OVERLAPPED& overlapped, BOOL started, HANDLE stop,
                            DWORD timeout) {
    if (!started && ::GetLastError() != ERROR_IO_PENDING) return std::nullopt;
    const HANDLE events[] = {overlapped.hEvent, stop};
    if (::WaitForMultipleObjects(stop != nullptr ? 2 : 1, events, FALSE, timeout) !=
        WAIT_OBJECT_0) {
        ::CancelIoEx(pipe, &overlapped);
        DWORD ignored = 0;
        ::GetOverlappedResult(pipe, &overlapped, &ignored, TRUE);  // the buffer is free again
        return std::nullopt;
    }
    DWORD bytes = 0;
    if (!::GetOverlappedResult(pipe, &overlapped, &bytes, FALSE)) return std::nullopt;
    return bytes;
}

// The one pipe instance may be talking to another second start meanwhile.
HANDLE OpenPipe(const std::wstring& name) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!::WaitNamedPipeW(name.c_str(), kTalkTimeout)) break;  // nobody listens
        const HANDLE pipe = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (pipe != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_PIPE_BUSY) return pipe;
    }
    return INVALID_HANDLE_VALUE;
}

OVERLAPPED Operation(const Handle& event) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    return overlapped;
}

// One question to the window thread, answered at most once: after the
// listener gave up waiting the window thread no longer takes the file.
struct Question {
    std::mutex lock;
    bool abandoned = false;
    std::promise<bool> answer;
};
}  // namespace

struct InstanceHandOver::Listener {
    Listener(Receiver take, HANDLE pipeHandle) : receiver(std::move(take)), pipe(pipeHandle) {}

    void Serve();
    void AnswerClient(const Handle& event);
    bool Ask(const QStringList& arguments);

    Receiver receiver;
    // Lives in the window thread: questions still queued die with it.
    QObject context;
    Handle stop{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    Handle pipe;
    std::thread thread;
};

void InstanceHandOver::Listener::Serve() {
    const Handle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    for (;;) {
        OVERLAPPED connect = Operation(event);
        const BOOL started = ::ConnectNamedPipe(pipe.get(), &connect);
        // A client that came before the call is connected already.
        const bool early = !started && ::GetLastError() == ERROR_PIPE_CONNECTED;
        if (!early && !Finish(pipe.get(), connect, started, stop.get(), INFINITE)) return;
        AnswerClient(event);
        ::DisconnectNamedPipe(pipe.get());
    }
}

void InstanceHandOver::Listener::AnswerClient(const Handle& event) {
    std::string message(kMaxMessage, '\0');
    OVERLAPPED read = Operation(event);
    const auto length = Finish(pipe.get(), read,
                               ::ReadFile(pipe.get(), message.data(), kMaxMessage, nullptr, &read),
                               stop.get(), kTalkTimeout);
    if (!length || *length == 0) return;
    message.resize(*length);
    const char reply = Ask(Arguments(QByteArray::fromStdString(message))) ? '1' : '0';
    OVERLAPPED written = Operation(event);
    if (!Finish(pipe.get(), written, ::WriteFile(pipe.get(), &reply, 1, nullptr, &written),
                stop.get(), kTalkTimeout))
        return;
    // Disconnecting drops what the client has not read yet: wait for it to close.
    char nothing = 0;
    OVERLAPPED closed = Operation(event);
    Finish(pipe.get(), closed, ::ReadFile(pipe.get(), &nothing, 1, nullptr, &closed), stop.get(),
           kTalkTimeout);
}

bool InstanceHandOver::Listener::Ask(const QStringList& arguments) {
    auto question = std::make_shared<Question>();
    std::future<bool> taken = question->answer.get_future();
    QMetaObject::invokeMethod(
        &context,
        [this, question, arguments] {
            const std::lock_guard<std::mutex> hold(question->lock);
            question->answer.set_value(!question->abandoned && receiver(arguments));
        },
        Qt::QueuedConnection);
    // The window thread may be the one stopping this listener: wait in slices.
    for (DWORD waited = 0; waited < kAnswerTimeout; waited += 100) {
        if (taken.wait_for(std::chrono::milliseconds(100)) == std::future_status::ready)
            return taken.get();
        if (::WaitForSingleObject(stop.get(), 0) == WAIT_OBJECT_0) break;
    }
    const std::lock_guard<std::mutex> hold(question->lock);
    question->abandoned = true;
    // Answered while the lock was being taken.
    return taken.wait_for(std::chrono::seconds(0)) == std::future_status::ready && taken.get();
}

InstanceHandOver::InstanceHandOver() = default;

InstanceHandOver::~InstanceHandOver() {
    if (!m_listener) return;
    ::SetEvent(m_listener->stop.get());
    m_listener->thread.join();
}

bool InstanceHandOver::Listen(Receiver receiver) {
    if (m_listener) return true;
    // The first instance of the name only: another listener keeps its pipe.
    auto listener = std::make_unique<Listener>(
        std::move(receiver),
        ::CreateNamedPipeW(
            PipeName().c_str(),
            PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
            PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
            16, kMaxMessage, 0, nullptr));
    if (!listener->pipe.Valid() || !listener->stop.Valid()) return false;
    listener->thread = std::thread([serving = listener.get()] { serving->Serve(); });
    m_listener = std::move(listener);
    return true;
}

bool InstanceHandOver::HandOver(const QStringList& arguments) {
    const QByteArray message = Message(arguments);
    if (message.isEmpty() || message.size() > static_cast<qsizetype>(kMaxMessage)) return false;
    const Handle pipe(OpenPipe(PipeName()));
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (!pipe.Valid() || !::SetNamedPipeHandleState(pipe.get(), &mode, nullptr, nullptr))
        return false;
    // The running program may then bring its window to the front.
    ::AllowSetForegroundWindow(ASFW_ANY);
    const Handle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    OVERLAPPED sent = Operation(event);
    const auto written = Finish(pipe.get(), sent,
                                ::WriteFile(pipe.get(), message.constData(),
                                            static_cast<DWORD>(message.size()), nullptr, &sent),
                                nullptr, kTalkTimeout);
    if (!written || *written != static_cast<DWORD>(message.size())) return false;
    char reply = 0;
    OVERLAPPED received = Operation(event);
    const auto read =
        Finish(pipe.get(), received, ::ReadFile(pipe.get(), &reply, 1, nullptr, &received), nullptr,
               kAnswerTimeout + kTalkTimeout);
    return read && *read == 1 && reply == '1';
}
