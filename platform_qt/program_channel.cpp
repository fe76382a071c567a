#include "platform_qt/program_channel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// A plain local socket of the system rather than Qt's: Qt Network and the libraries it brings
// (Kerberos, the proxy resolver) took several milliseconds of loading at every start, for two
// lines of text exchanged only when a second start happens.

namespace platform {

namespace {

constexpr std::string_view request = "front\n";
constexpr std::string_view answer = "ok\n";
constexpr size_t longestRequest = 64;

QString runtimeFolder() {
    // QStandardPaths would warn on standard error where the variable is unset (a bare X session,
    // su); the temporary folder serves then, the user's number in the name keeping users apart.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime).isDir() ? runtime : QDir::tempPath();
}

// Empty where the path does not fit a socket address.
std::optional<sockaddr_un> addressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return std::nullopt;
    std::memcpy(address.sun_path, path.data(), path.size());
    return address;
}

// Sends all of `text` or nothing more; a peer gone is no signal that ends this process.
bool sendAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t sent = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        text.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
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

struct ChannelListener::Connection {
    int fd;
    std::unique_ptr<QSocketNotifier> readable;
    std::string received;
};

ChannelListener::ChannelListener(std::function<void()> comeForward)
    : comeForward_(std::move(comeForward)) {}

ChannelListener::~ChannelListener() {
    for (const auto& connection : connections_)
        ::close(connection->fd);
    if (socket_ >= 0) {
        accepting_.reset();
        ::close(socket_);
        ::unlink(path_.c_str());
    }
}

bool ChannelListener::listen(const QString& name) {
    const std::string path = QFile::encodeName(name).toStdString();
    const std::optional<sockaddr_un> address = addressOf(path);
    if (!address || socket_ >= 0)
        return false;
    ::unlink(path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // Only this user may ask the program to come forward.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::chmod(path.c_str(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        ::close(fd);
        ::unlink(path.c_str());
        return false;
    }
    socket_ = fd;
    path_ = path;
    accepting_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(accepting_.get(), &QSocketNotifier::activated, accepting_.get(),
                     [this] { takeConnections(); });
    return true;
}

void ChannelListener::takeConnections() {
    for (;;) {
        const int fd = ::accept4(socket_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // none waiting (or none to be had now): the notifier calls again
        }
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->readable = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        Connection* served = connection.get();
        QObject::connect(served->readable.get(), &QSocketNotifier::activated,
                         served->readable.get(), [this, served] { serve(*served); });
        connections_.push_back(std::move(connection));
        serve(*served);
    }
}

void ChannelListener::serve(Connection& connection) {
    char buffer[longestRequest + 1];
    for (;;) {
        const ssize_t got = ::recv(connection.fd, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (got <= 0) { // gone, or failed
            drop(connection);
            return;
        }
        connection.received.append(buffer, static_cast<size_t>(got));
        if (connection.received.find('\n') != std::string::npos ||
            connection.received.size() > longestRequest)
            break;
    }
    const size_t end = connection.received.find('\n');
    if (end == std::string::npos) {
        if (connection.received.size() > longestRequest)
            drop(connection);
        return;
    }
    if (std::string_view(connection.received).substr(0, end + 1) == request) {
        comeForward_();
        sendAll(connection.fd, answer);
    }
    drop(connection);
}

void ChannelListener::drop(Connection& connection) {
    // Called from the connection's own notifier: it is let go once that has returned.
    ::close(connection.fd);
    connection.readable->setEnabled(false);
    connection.readable.release()->deleteLater();
    std::erase_if(connections_, [&connection](const auto& c) { return c.get() == &connection; });
}

bool askToComeForward(const QString& name, std::chrono::milliseconds patience) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + patience;
    const auto left = [deadline] {
        return std::max<Clock::duration::rep>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
    };
    const std::optional<sockaddr_un> address = addressOf(QFile::encodeName(name).toStdString());
    if (!address)
        return false;
    int fd = -1;
    for (;;) {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0)
            break;
        ::close(fd);
        if (left() == 0)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(20, left())));
    }
    std::string received;
    bool answered = false;
    if (sendAll(fd, request)) {
        pollfd readable{fd, POLLIN, 0};
        for (;;) {
            const int ready = ::poll(&readable, 1, static_cast<int>(left()));
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                break; // out of patience, or failed
            char buffer[longestRequest + 1];
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (got <= 0)
                break;
            received.append(buffer, static_cast<size_t>(got));
            if (const size_t end = received.find('\n'); end != std::string::npos) {
                answered = std::string_view(received).substr(0, end + 1) == answer;
                break;
            }
            if (received.size() > longestRequest)
                break;
        }
    }
    ::close(fd);
    return answered;
}

} // namespace platform
