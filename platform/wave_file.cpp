#include "platform/wave_file.h"

#include "platform/whole_file.h"

#include <cstdint>

namespace platform {
namespace {

constexpr std::uint16_t formatPcm = 1;
constexpr std::uint16_t formatFloat = 3;
constexpr std::uint16_t formatExtensible = 0xFFFE;
constexpr size_t riffHeaderSize = 12;
constexpr size_t chunkHeaderSize = 8;
constexpr size_t plainFormatSize = 16;
constexpr size_t extensibleFormatSize = 40;
constexpr size_t subFormatOffset = 24; // within the format chunk: the GUID's first two bytes are the format code
constexpr int maxChannels = 8;

std::uint32_t u32(std::string_view b, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}
std::uint16_t u16(std::string_view b, size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

std::optional<WaveFormat::Sample> sampleKind(std::uint16_t code, std::uint16_t bits) {
    if (code == formatPcm && bits == 8)
        return WaveFormat::Sample::UInt8;
    if (code == formatPcm && bits == 16)
        return WaveFormat::Sample::Int16;
    if (code == formatPcm && bits == 32)
        return WaveFormat::Sample::Int32;
    if (code == formatFloat && bits == 32)
        return WaveFormat::Sample::Float32;
    return std::nullopt;
}

std::optional<WaveFormat> parseFormat(std::string_view chunk) {
    if (chunk.size() < plainFormatSize)
        return std::nullopt;
    std::uint16_t code = u16(chunk, 0);
    const std::uint16_t channels = u16(chunk, 2);
    const std::uint32_t rate = u32(chunk, 4);
    const std::uint16_t bits = u16(chunk, 14);
    if (code == formatExtensible) {
        if (chunk.size() < extensibleFormatSize)
            return std::nullopt;
        code = u16(chunk, subFormatOffset);
    }
    const auto sample = sampleKind(code, bits);
    if (!sample || channels < 1 || channels > maxChannels || rate < 1 || rate > 768000)
        return std::nullopt;
    return WaveFormat{static_cast<int>(rate), channels, *sample};
}

} // namespace

int WaveFormat::bytesPerFrame() const {
    const int bytes = sample == Sample::UInt8 ? 1 : sample == Sample::Int16 ? 2 : 4;
    return bytes * channels;
}

std::optional<Wave> parseWave(std::string_view b) {
    if (b.size() < riffHeaderSize || b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<WaveFormat> format;
    size_t at = riffHeaderSize;
    while (at <= b.size() && b.size() - at >= chunkHeaderSize) {
        const std::string_view id = b.substr(at, 4);
        const size_t declared = u32(b, at + 4);
        const size_t start = at + chunkHeaderSize;
        const size_t size = std::min(declared, b.size() - start);
        if (id == "fmt ") {
            format = parseFormat(b.substr(start, size));
            if (!format)
                return std::nullopt;
        } else if (id == "data") {
            if (!format)
                return std::nullopt;
            const size_t frame = static_cast<size_t>(format->bytesPerFrame());
            return Wave{*format, std::string(b.substr(start, size - size % frame))};
        }
        if (declared > b.size() - start)
            break;
        at = start + declared + (declared & 1); // chunks are padded to an even length
    }
    return std::nullopt;
}

std::optional<Wave> readWave(const std::string& path) {
    const auto bytes = readWholeFile(path);
    if (!bytes)
        return std::nullopt;
    return parseWave(*bytes);
}

} // namespace platform
