#include "platform/replace_file.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace platform {

int FileSystem::createNew(const std::string& path, mode_t mode) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}

ssize_t FileSystem::write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

int FileSystem::sync(int fd) { return ::fsync(fd); }

int FileSystem::close(int fd) { return ::close(fd); }

int FileSystem::rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str());
}

int FileSystem::syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    errno = error;
    return result;
}

int FileSystem::remove(const std::string& path) { return ::unlink(path.c_str()); }

FileSystem& systemFileSystem() {
    static FileSystem calls;
    return calls;
}

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file takes the old one's permission bits, as if it had been written in place.
mode_t modeFor(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return st.st_mode & 07777;
    return 0666; // less the umask
}

std::string temporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
}

// Writes everything, going on after a short write; a write that makes no progress is a full disk.
bool writeAll(FileSystem& fs, int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = fs.write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Some file systems (network and FUSE ones among them) have no flush for a folder and say so;
// the file renamed into place there is as safe as they can make it.
bool cannotFlushFolders(int error) {
    return error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP;
}

} // namespace

std::optional<FileFault> replaceFile(const std::string& path, std::string_view bytes,
                                     FileSystem& fs) {
    const auto fault = [&](FileFault::Step step, int error) {
        return FileFault{step, path, std::system_category().message(error)};
    };
    const mode_t mode = modeFor(path);
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = temporaryName(path);
        fd = fs.createNew(temporary, mode);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return fault(FileFault::Create, errno);

    // The data must be on the disk before the rename, or a power cut could leave an empty file
    // under the real name; a close can report a write that the device refused late.
    if (!writeAll(fs, fd, bytes) || fs.sync(fd) != 0) {
        const int error = errno;
        fs.close(fd);
        fs.remove(temporary);
        return fault(FileFault::Write, error);
    }
    if (fs.close(fd) != 0) {
        const int error = errno;
        fs.remove(temporary);
        return fault(FileFault::Write, error);
    }
    if (fs.rename(temporary, path) != 0) {
        const int error = errno;
        fs.remove(temporary);
        return fault(FileFault::Commit, error);
    }
    if (fs.syncFolder(folderOf(path)) != 0 && !cannotFlushFolders(errno))
        return fault(FileFault::Commit, errno);
    return std::nullopt;
}

} // namespace platform
