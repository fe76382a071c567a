#pragma once
#include <string>

namespace platform {

// A file is read-only when its owner lacks the write bit. Gives the owner the write bit back and
// keeps every other permission bit; a missing file is left alone and nothing is created.
// Returns whether the file is writable by its owner afterwards.
bool removeReadOnly(const std::string& path);

} // namespace platform
