#include "platform/file_attributes.h"

#include <sys/stat.h>

namespace platform {

bool removeReadOnly(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (st.st_mode & S_IWUSR)
        return true;
    const mode_t mode = (st.st_mode & 07777) | S_IWUSR;
    return ::chmod(path.c_str(), mode) == 0;
}

} // namespace platform
