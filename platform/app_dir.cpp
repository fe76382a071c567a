#include "platform/app_dir.h"

#include <filesystem>

namespace platform {

std::string appDir() {
    std::error_code ec;
    std::string dir = std::filesystem::current_path(ec).string();
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

} // namespace platform
