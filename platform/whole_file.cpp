#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace platform {
namespace {

// Closes the descriptor on every way out.
struct OpenFile {
    int fd;
    ~OpenFile() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

std::optional<std::string> readFileHead(const std::string& path, std::size_t maxBytes) {
    // Straight system calls: the fifty chapter files are read at every start, and a stream costs
    // a buffer, a locale and three seeks for each. Not blocking, so that a pipe of that name
    // cannot hang the open; it is no regular file and is refused below.
    const OpenFile file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    struct stat status {};
    if (file.fd < 0 || ::fstat(file.fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0)
        return std::nullopt;
    const auto wanted = std::min<std::uintmax_t>(static_cast<std::uintmax_t>(status.st_size), maxBytes);
    std::string bytes(static_cast<size_t>(wanted), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        // A read error part-way, or a file cut short under us, counts as unreadable.
        if (got <= 0)
            return std::nullopt;
        done += static_cast<size_t>(got);
    }
    return bytes;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    return readFileHead(path, std::numeric_limits<std::size_t>::max());
}

} // namespace platform
