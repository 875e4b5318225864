// Platform part of InstanceHandOver: Linux and other POSIX desktops. The
// running program serves a local socket beside its instance lock (in
// $XDG_RUNTIME_DIR, the user's own folder); a second start sends the length
// of its message (4 bytes, big-endian), the message, and reads one byte
// back: '1' taken care of, '0' not.
#include <QDataStream>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <optional>

#include "InstanceHandOver.h"
#include "InstanceLock.h"

namespace {
constexpr quint32 kMaxMessage = 256 * 1024;
// A client that connects and says nothing is dropped after this long.
constexpr int kTalkTimeoutMs = 2000;
// The running program answers at once; its window thread may be busy for a moment.
constexpr int kAnswerTimeoutMs = 10000;

QString SocketPath() {
    const QFileInfo lock(InstanceLock::LockPath());
    return lock.absolutePath() + QStringLiteral("/") + lock.completeBaseName() +
           QStringLiteral(".handover");
}

// The length in front of the message, once it has arrived.
std::optional<quint32> MessageLength(QLocalSocket& socket) {
    QByteArray head = socket.peek(4);
    if (head.size() < 4) return std::nullopt;
    quint32 length = 0;
    QDataStream(head) >> length;
    return length;
}
}  // namespace

struct InstanceHandOver::Listener {
    void Serve(QLocalSocket* client);

    Receiver receiver;
    QLocalServer server;
};

void InstanceHandOver::Listener::Serve(QLocalSocket* client) {
    QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    QTimer::singleShot(kTalkTimeoutMs, client, [client] { client->abort(); });
    QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
        const std::optional<quint32> length = MessageLength(*client);
        if (length && *length > kMaxMessage) return client->abort();
        if (!length || client->bytesAvailable() < 4 + static_cast<qint64>(*length)) return;
        client->read(4);
        const QStringList arguments = Arguments(client->read(*length));
        // The receiver may open windows; the client stays only until it has its answer.
        const QPointer<QLocalSocket> alive(client);
        const bool taken = receiver(arguments);
        if (alive == nullptr) return;
        client->write(taken ? "1" : "0");
        client->disconnectFromServer();
    });
}

InstanceHandOver::InstanceHandOver() = default;
InstanceHandOver::~InstanceHandOver() = default;

bool InstanceHandOver::Listen(Receiver receiver) {
    if (m_listener) return true;
    const QString path = SocketPath();
    // A socket nobody answers on is left by a program that ended without
    // removing it; one that answers belongs to the running program.
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(kTalkTimeoutMs)) return false;
    QLocalServer::removeServer(path);
    auto listener = std::make_unique<Listener>();
    listener->receiver = std::move(receiver);
    listener->server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!listener->server.listen(path)) return false;
    QObject::connect(&listener->server, &QLocalServer::newConnection, &listener->server,
                     [serving = listener.get()] {
                         while (QLocalSocket* client = serving->server.nextPendingConnection())
                             serving->Serve(client);
                     });
    m_listener = std::move(listener);
    return true;
}

bool InstanceHandOver::HandOver(const QStringList& arguments) {
    const QByteArray message = Message(arguments);
    if (message.isEmpty() || message.size() > static_cast<qsizetype>(kMaxMessage)) return false;
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (!socket.waitForConnected(kTalkTimeoutMs)) return false;
    QByteArray packet;
    QDataStream(&packet, QIODevice::WriteOnly) << static_cast<quint32>(message.size());
    socket.write(packet + message);
    if (!socket.waitForBytesWritten(kTalkTimeoutMs)) return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(kAnswerTimeoutMs)) return false;
    return socket.read(1) == "1";
}
