#pragma once
#include <string>

namespace app {

// Code page 932 bytes of a UTF-8 literal of ours; the literals are all representable.
std::string cp932(const char* utf8);

} // namespace app
