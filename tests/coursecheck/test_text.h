#pragma once

#include <iconv.h>
#include <stdexcept>
#include <string>

// Test text is written in UTF-8 and converted, the way the course writers make their files.
inline std::string sj(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* o = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        throw std::runtime_error("test text not convertible: " + utf8);
    out.resize(out.size() - outLeft);
    return out;
}
