#pragma once
#include <string>

namespace platform {

// The program folder: the process's current directory without a trailing separator.
// Read afresh on every call, since every data path is formed from it at the moment of use.
std::string appDir();

} // namespace platform
