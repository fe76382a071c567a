#pragma once
#include <cstdint>
#include <string>

// WAVE file bytes for the tests, chunk by chunk.
namespace wave_bytes {

inline std::string le(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

inline std::string chunk(const std::string& id, const std::string& body, std::uint32_t declared) {
    std::string out = id + le(declared, 4) + body;
    if (body.size() % 2)
        out += '\0';
    return out;
}
inline std::string chunk(const std::string& id, const std::string& body) {
    return chunk(id, body, static_cast<std::uint32_t>(body.size()));
}

inline std::string fmt(int code, int channels, int rate, int bits) {
    const int frame = channels * bits / 8;
    return chunk("fmt ", le(code, 2) + le(channels, 2) + le(rate, 4) + le(rate * frame, 4) +
                             le(frame, 2) + le(bits, 2));
}

// The extensible header names the real format in the first two bytes of its sub-format GUID.
inline std::string extensibleFmt(int subCode, int channels, int rate, int bits) {
    const int frame = channels * bits / 8;
    const std::string guidTail("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    return chunk("fmt ", le(0xFFFE, 2) + le(channels, 2) + le(rate, 4) + le(rate * frame, 4) +
                             le(frame, 2) + le(bits, 2) + le(22, 2) + le(bits, 2) + le(0x4, 4) +
                             le(subCode, 2) + guidTail);
}

inline std::string riff(const std::string& chunks) {
    return "RIFF" + le(static_cast<std::uint32_t>(4 + chunks.size()), 4) + "WAVE" + chunks;
}

// A plain 16-bit mono file whose samples are the given bytes.
inline std::string mono16(const std::string& samples, int rate = 16000) {
    return riff(fmt(1, 1, rate, 16) + chunk("data", samples));
}

} // namespace wave_bytes
