#include "platform/program_channel.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

#include <algorithm>
#include <unistd.h>

namespace platform {

namespace {

const QByteArray request = QByteArrayLiteral("front\n");
const QByteArray answer = QByteArrayLiteral("ok\n");
constexpr qint64 longestRequest = 64;

QString runtimeFolder() {
    // QStandardPaths would warn on standard error where the variable is unset (a bare X session,
    // su); the temporary folder serves then, the user's number in the name keeping users apart.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime).isDir() ? runtime : QDir::tempPath();
}

} // namespace

QString channelName(const std::string& lockPath) {
    const QFileInfo lock(QString::fromStdString(lockPath));
    const QString real = lock.canonicalFilePath().isEmpty() ? lock.absoluteFilePath()
                                                            : lock.canonicalFilePath();
    const QByteArray digest = QCryptographicHash::hash(real.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("%1/yomirin-%2-%3")
        .arg(runtimeFolder())
        .arg(::getuid())
        .arg(QString::fromLatin1(digest.toHex().left(16)));
}

ChannelListener::ChannelListener(std::function<void()> comeForward)
    : comeForward_(std::move(comeForward)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { takeConnections(); });
}

bool ChannelListener::listen(const QString& name) {
    QLocalServer::removeServer(name);
    return server_.listen(name);
}

void ChannelListener::takeConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto serve = [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > longestRequest)
                    socket->disconnectFromServer();
                return;
            }
            if (socket->readLine(longestRequest + 1) == request) {
                comeForward_();
                socket->write(answer);
            }
            socket->disconnectFromServer();
        };
        QObject::connect(socket, &QLocalSocket::readyRead, socket, serve);
        serve();
    }
}

bool askToComeForward(const QString& name, std::chrono::milliseconds patience) {
    const QDeadlineTimer deadline(patience);
    const auto left = [&deadline] { return static_cast<int>(deadline.remainingTime()); };
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(name);
        if (socket.waitForConnected(left()))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(static_cast<unsigned long>(std::min(20, left())));
    }
    socket.write(request);
    if (!socket.waitForBytesWritten(left()) && socket.bytesToWrite() > 0)
        return false;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(left()))
            return false;
    }
    return socket.readLine(longestRequest + 1) == answer;
}

} // namespace platform
