#include "platform/program_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

ProgramLock::~ProgramLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

LockTry ProgramLock::tryTake(const std::string& path) {
    if (fd_ >= 0)
        return LockTry::Taken;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    // A folder the learner cannot write to may still hold the file from an earlier start; a
    // local lock needs no write access to it.
    if (fd < 0)
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return LockTry::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        fd_ = fd;
        return LockTry::Taken;
    }
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held ? LockTry::HeldElsewhere : LockTry::Unavailable;
}

} // namespace platform
