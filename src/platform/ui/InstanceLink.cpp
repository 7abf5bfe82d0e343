#include "platform/ui/InstanceLink.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>

namespace platform {
namespace {

constexpr int kConnectTimeoutMs = 500;
const QByteArray kRestoreRequest("restore\n");

QString serverName(qint64 handle) { return QStringLiteral("veltmark-window-%1").arg(handle); }

struct Listener {
    QLocalServer* server = nullptr;
    std::function<void()> restore;
};

Listener& listener()
{
    static Listener l;
    return l;
}

} // namespace

qint64 WindowHandle() { return QCoreApplication::applicationPid(); }

void ListenForRestore(std::function<void()> restore)
{
    Listener& l = listener();
    l.restore = std::move(restore);
    if (l.server)
        return;
    l.server = new QLocalServer(QCoreApplication::instance());
    l.server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = serverName(WindowHandle());
    // A socket file left by an instance that crashed under the same number.
    QLocalServer::removeServer(name);
    if (!l.server->listen(name)) {
        delete l.server;
        l.server = nullptr;
        return;
    }
    QObject::connect(l.server, &QLocalServer::newConnection, l.server, [] {
        Listener& l = listener();
        while (QLocalSocket* s = l.server->nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::readyRead, s, [s] {
                if (!s->readAll().contains(kRestoreRequest))
                    return;
                if (listener().restore)
                    listener().restore();
            });
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

void StopListening()
{
    Listener& l = listener();
    l.restore = nullptr;
    delete l.server;
    l.server = nullptr;
}

bool IsLiveWindow(qint64 handle)
{
    if (handle <= 0)
        return false;
    QLocalSocket s;
    s.connectToServer(serverName(handle));
    const bool live = s.waitForConnected(kConnectTimeoutMs);
    s.abort();
    return live;
}

bool RestoreWindow(qint64 handle)
{
    if (handle <= 0)
        return false;
    QLocalSocket s;
    s.connectToServer(serverName(handle));
    if (!s.waitForConnected(kConnectTimeoutMs))
        return false;
    s.write(kRestoreRequest);
    const bool sent = s.waitForBytesWritten(kConnectTimeoutMs);
    s.disconnectFromServer();
    return sent;
}

} // namespace platform
