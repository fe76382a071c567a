#pragma once
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

namespace platform {

// The socket on which the program holding the lock file at `lockPath` listens: in this user's
// runtime folder, named after the lock file's real path, so that two program folders never share
// one and two names of one folder (a link) meet at the same.
QString channelName(const std::string& lockPath);

// The running program's end of the channel: each later start's request calls `comeForward`, and
// is answered once it has run. Requests are read in the event loop.
class ChannelListener {
public:
    explicit ChannelListener(std::function<void()> comeForward);
    ~ChannelListener();
    ChannelListener(const ChannelListener&) = delete;
    ChannelListener& operator=(const ChannelListener&) = delete;
    // Only the lock's holder listens, so a socket left at `name` by a program that was killed is
    // removed first. False when no socket could be made; the program then runs without one.
    bool listen(const QString& name);

private:
    struct Connection;
    void takeConnections();
    void serve(Connection& connection);
    void drop(Connection& connection);

    std::function<void()> comeForward_;
    std::string path_;
    int socket_ = -1;
    std::unique_ptr<QSocketNotifier> accepting_;
    std::vector<std::unique_ptr<Connection>> connections_;
};

// A later start's end: asks the program listening at `name` to come to the front. True when it
// answered within `patience`, counted from the call; a program that is still starting has no
// socket yet, so a refused connection is tried again until then.
bool askToComeForward(const QString& name, std::chrono::milliseconds patience);

} // namespace platform
