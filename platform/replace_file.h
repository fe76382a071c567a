#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace platform {

// Why a file could not be replaced: the step that failed and the system's words for it.
struct FileFault {
    enum Step { Create, Write, Commit } step = Create;
    std::string path;
    std::string reason;
};

// The system calls a replacement makes, each with the C library's contract (-1 and errno on
// failure). The program uses them as they are; tests derive from this to make any one of them
// fail the way a full disk, a read-only folder or a failing device would.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Creates a file that must not exist yet, open for writing.
    virtual int createNew(const std::string& path, mode_t mode);
    virtual ssize_t write(int fd, const char* data, std::size_t size);
    virtual int sync(int fd);
    virtual int close(int fd);
    virtual int rename(const std::string& from, const std::string& to);
    virtual int syncFolder(const std::string& folder);
    virtual int remove(const std::string& path);
};

FileSystem& systemFileSystem();

// Replaces the file at path with bytes, or leaves the old file whole: the bytes go to a temporary
// file beside it, which is flushed to the disk and only then renamed over the old one, and the
// folder is flushed so that the rename itself survives a power cut. A replaced file keeps the
// permission bits of the old one. On a fault the temporary file is removed; only a process killed
// part-way leaves one behind (named path + ".<process>.<n>.tmp", never read).
std::optional<FileFault> replaceFile(const std::string& path, std::string_view bytes,
                                     FileSystem& fs = systemFileSystem());

} // namespace platform
