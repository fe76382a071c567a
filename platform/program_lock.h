#pragma once
#include <string>

namespace platform {

enum class LockTry { Taken, HeldElsewhere, Unavailable };

// An exclusive lock on a file (flock) that the system holds for this process and frees when the
// process ends, however it ends: a killed or crashed program never leaves a lock behind, and no
// process number, host name or age is read to guess whether a holder still lives. On a network
// file system the server keeps the lock, so a program on another computer holds it too.
class ProgramLock {
public:
    ProgramLock() = default;
    ~ProgramLock();
    ProgramLock(const ProgramLock&) = delete;
    ProgramLock& operator=(const ProgramLock&) = delete;

    // One try, without waiting; the file is made if it is missing and never removed. Unavailable
    // when the file can be neither made nor opened (a missing or read-only folder without it) or
    // its file system keeps no locks.
    LockTry tryTake(const std::string& path);
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

} // namespace platform
