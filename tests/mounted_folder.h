#pragma once
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

// A small file system in memory mounted over a folder while the object lives, for the faults of a
// real disk: full, or read-only even for root. Mounting needs root; without it the tests that
// use this say so and are skipped (the same faults are also injected through FailingFileSystem).
class MountedFolder {
public:
    MountedFolder(std::string folder, std::size_t bytes) : folder_(std::move(folder)) {
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
        if (!mounted_)
            why_ = std::strerror(errno);
    }
    ~MountedFolder() {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    MountedFolder(const MountedFolder&) = delete;
    MountedFolder& operator=(const MountedFolder&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }

    bool setReadOnly(bool readOnly) {
        const unsigned long flags = MS_REMOUNT | MS_NOSUID | MS_NODEV | (readOnly ? MS_RDONLY : 0);
        return ::mount("tmpfs", folder_.c_str(), "tmpfs", flags, nullptr) == 0;
    }

    // Writes a file until the disk is full; true when it filled up.
    bool fill(const std::string& name = "filler") {
        const int fd = ::open((folder_ + "/" + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return errno == ENOSPC;
        const std::string block(4096, 'f');
        ssize_t n = 0;
        while ((n = ::write(fd, block.data(), block.size())) > 0) {
        }
        const bool full = n < 0 && errno == ENOSPC;
        ::close(fd);
        return full;
    }
    void unfill(const std::string& name = "filler") { ::unlink((folder_ + "/" + name).c_str()); }

private:
    std::string folder_;
    bool mounted_ = false;
    std::string why_;
};
