// Text that may come from any file or from the keyboard, through the code page 932 conversions.
#include "fuzz_check.h"
#include "platform/cp932.h"

#include <cstdint>
#include <string_view>

namespace {

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3
                                   : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > s.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // As file bytes: display text is always valid, and a clean decode is the same either way.
    const std::string shown = platform::cp932ToUtf8(bytes);
    FUZZ_REQUIRE(isValidUtf8(shown));
    FUZZ_REQUIRE(bytes.empty() == shown.empty());
    if (const auto strict = platform::cp932ToUtf8Strict(bytes))
        FUZZ_REQUIRE(*strict == shown);

    // As typed text: the lossy form always gives code page 932 that decodes cleanly, and equals
    // the exact form whenever there is one.
    const std::string typed = platform::utf8ToCp932Lossy(bytes);
    FUZZ_REQUIRE(platform::cp932ToUtf8Strict(typed).has_value());
    if (const auto exact = platform::utf8ToCp932(bytes))
        FUZZ_REQUIRE(*exact == typed);
    return 0;
}
