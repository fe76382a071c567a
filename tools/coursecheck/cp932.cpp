#include "cp932.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace coursecheck {

bool isCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::size_t cp932CharLength(std::string_view bytes, std::size_t pos) {
    if (pos + 1 < bytes.size() && isCp932LeadByte(static_cast<unsigned char>(bytes[pos])))
        return 2;
    return 1;
}

namespace {

class Converter {
  public:
    Converter() : cd_(iconv_open("UTF-8", "CP932")) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert from CP932 to UTF-8");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one whole character; returns the errno of a failure, or 0.
    int convert(std::string_view in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return errno;
        if (inLeft != 0)
            return EINVAL;
        out.assign(buffer, outPtr);
        return 0;
    }

  private:
    iconv_t cd_;
};

// Decodes the first code point of a UTF-8 sequence that iconv produced (so it is well formed).
char32_t firstCodePoint(const std::string& utf8) {
    const auto b0 = static_cast<unsigned char>(utf8[0]);
    if (b0 < 0x80)
        return b0;
    int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : 1;
    char32_t cp = b0 & (0x3F >> extra);
    for (int i = 1; i <= extra && i < static_cast<int>(utf8.size()); ++i)
        cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    return cp;
}

} // namespace

Cp932Decoding decodeCp932(std::string_view bytes) {
    static thread_local Converter converter;
    Cp932Decoding result;
    std::string one;
    // One character at a time, so that a failure is pinned to the character that caused it.
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[pos]);
        const std::size_t len = cp932CharLength(bytes, pos);
        if (isCp932LeadByte(b) && len == 1) {
            result.problem = Cp932Decoding::Problem::TruncatedCharacter;
            result.offset = pos;
            return result;
        }
        const int err = converter.convert(bytes.substr(pos, len), one);
        if (err != 0 || one.empty()) {
            result.problem = Cp932Decoding::Problem::InvalidByte;
            result.offset = pos;
            return result;
        }
        const char32_t cp = firstCodePoint(one);
        if (cp >= 0xE000 && cp <= 0xF8FF) {
            result.problem = Cp932Decoding::Problem::UserDefinedCharacter;
            result.offset = pos;
            return result;
        }
        result.utf8 += one;
        pos += len;
    }
    return result;
}

bool looksLikeUtf8(std::string_view bytes) {
    bool sawMultiByte = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int extra;
        if (b < 0x80)
            extra = 0;
        else if (b >= 0xC2 && b <= 0xDF)
            extra = 1;
        else if (b >= 0xE0 && b <= 0xEF)
            extra = 2;
        else if (b >= 0xF0 && b <= 0xF4)
            extra = 3;
        else
            return false;
        if (extra > 0 && i + extra >= bytes.size())
            return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        sawMultiByte = sawMultiByte || extra >= 2;
        i += extra + 1;
    }
    return sawMultiByte;
}

} // namespace coursecheck
