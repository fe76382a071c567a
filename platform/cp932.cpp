#include "platform/cp932.h"

#include <cerrno>
#include <iconv.h>

namespace platform {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; stops at the first bad sequence and reports how far it got.
    bool convert(std::string_view in, std::string& out, size_t& consumed) {
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[1024];
        bool ok = true;
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                ok = false;
                break;
            }
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        consumed = in.size() - srcLeft;
        return ok;
    }

private:
    iconv_t cd_;
};

} // namespace

std::string cp932ToUtf8(std::string_view bytes) {
    Converter conv("UTF-8", "CP932");
    std::string out;
    if (!conv.valid())
        return out;
    while (!bytes.empty()) {
        size_t consumed = 0;
        if (conv.convert(bytes, out, consumed))
            break;
        out += "\xEF\xBF\xBD";
        bytes.remove_prefix(consumed + 1);
    }
    return out;
}

std::optional<std::string> cp932ToUtf8Strict(std::string_view bytes) {
    Converter conv("UTF-8", "CP932");
    std::string out;
    size_t consumed = 0;
    if (!conv.valid() || !conv.convert(bytes, out, consumed))
        return std::nullopt;
    return out;
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    Converter conv("CP932", "UTF-8");
    std::string out;
    size_t consumed = 0;
    if (!conv.valid() || !conv.convert(utf8, out, consumed))
        return std::nullopt;
    return out;
}

std::string utf8ToCp932Lossy(std::string_view utf8) {
    Converter conv("CP932", "UTF-8");
    std::string out;
    if (!conv.valid())
        return out;
    while (!utf8.empty()) {
        size_t consumed = 0;
        if (conv.convert(utf8, out, consumed))
            break;
        out += "\x81\x48";
        // Skip the offending character: its lead byte and any continuation bytes.
        size_t skip = 1;
        while (consumed + skip < utf8.size() &&
               (static_cast<unsigned char>(utf8[consumed + skip]) & 0xC0) == 0x80)
            ++skip;
        utf8.remove_prefix(consumed + skip);
    }
    return out;
}

} // namespace platform
