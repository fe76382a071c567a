#pragma once
#include "platform/replace_file.h"

#include <cerrno>
#include <map>
#include <string>

// The system's file calls, except that one kind of call fails for files whose name holds a given
// text, the way a full disk, a read-only folder or a failing device makes it fail.
class FailingFileSystem : public platform::FileSystem {
public:
    enum Call { None, CreateNew, Write, ShortWrite, Sync, Close, Rename, SyncFolder };

    FailingFileSystem() = default;
    FailingFileSystem(Call call, std::string file, int error)
        : call_(call), file_(std::move(file)), error_(error) {}

    int createNew(const std::string& path, mode_t mode) override {
        if (fails(CreateNew, path))
            return -1;
        const int fd = FileSystem::createNew(path, mode);
        if (fd >= 0)
            paths_[fd] = path;
        return fd;
    }
    // ShortWrite: the first write stores half of the bytes, the next one finds the disk full.
    ssize_t write(int fd, const char* data, std::size_t size) override {
        if (call_ == ShortWrite && matches(paths_[fd])) {
            if (halfWritten_.count(fd))
                return fail();
            halfWritten_[fd] = true;
            return FileSystem::write(fd, data, size / 2);
        }
        return fails(Write, paths_[fd]) ? -1 : FileSystem::write(fd, data, size);
    }
    int sync(int fd) override { return fails(Sync, paths_[fd]) ? -1 : FileSystem::sync(fd); }
    int close(int fd) override {
        const std::string path = paths_[fd];
        paths_.erase(fd);
        halfWritten_.erase(fd);
        const int result = FileSystem::close(fd); // the descriptor goes either way, as close(2) has it
        return fails(Close, path) ? -1 : result;
    }
    int rename(const std::string& from, const std::string& to) override {
        return fails(Rename, to) ? -1 : FileSystem::rename(from, to);
    }
    int syncFolder(const std::string& folder) override {
        // The folder is flushed after the rename of the file in question.
        return call_ == SyncFolder && renamedMatch_ ? fail() : FileSystem::syncFolder(folder);
    }

    void heal() { call_ = None; }

private:
    bool matches(const std::string& path) const {
        return path.find(file_) != std::string::npos;
    }
    int fail() {
        errno = error_;
        return -1;
    }
    bool fails(Call call, const std::string& path) {
        if (call == Rename)
            renamedMatch_ = matches(path);
        if (call_ != call || !matches(path))
            return false;
        fail();
        return true;
    }

    Call call_ = None;
    std::string file_;
    int error_ = 0;
    std::map<int, std::string> paths_;
    std::map<int, bool> halfWritten_;
    bool renamedMatch_ = false;
};
