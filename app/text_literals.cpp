#include "app/text_literals.h"

#include "platform/cp932.h"

namespace app {

std::string cp932(const char* utf8) { return platform::utf8ToCp932(utf8).value_or(std::string()); }

} // namespace app
