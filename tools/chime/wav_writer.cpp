#include "wav_writer.h"

#include <fstream>
#include <limits>
#include <stdexcept>
#include <system_error>

namespace chime {

namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
    out.insert(out.end(), tag, tag + 4);
}

} // namespace

std::vector<std::uint8_t> encodeWav(const std::vector<std::int16_t>& samples,
                                    std::uint32_t sampleRate) {
    constexpr std::uint16_t channels = 1;
    constexpr std::uint16_t bitsPerSample = 16;
    constexpr std::uint16_t blockAlign = channels * bitsPerSample / 8;
    constexpr std::uint32_t headerBytes = 44;
    // The RIFF size field is 32 bits; refuse rather than write a wrapped-around header.
    if (samples.size() > (std::numeric_limits<std::uint32_t>::max() - headerBytes) / blockAlign)
        throw std::length_error("too many samples for a WAV file");
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * blockAlign);

    std::vector<std::uint8_t> out;
    out.reserve(headerBytes + dataBytes);
    putTag(out, "RIFF");
    put32(out, headerBytes - 8 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // integer PCM
    put16(out, channels);
    put32(out, sampleRate);
    put32(out, sampleRate * blockAlign);
    put16(out, blockAlign);
    put16(out, bitsPerSample);
    putTag(out, "data");
    put32(out, dataBytes);
    for (std::int16_t s : samples)
        put16(out, static_cast<std::uint16_t>(s));
    return out;
}

bool writeWav(const std::filesystem::path& path, const std::vector<std::int16_t>& samples,
              std::uint32_t sampleRate, std::string& error) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = encodeWav(samples, sampleRate);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    std::filesystem::path partial = path;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            error = "cannot write " + partial.string();
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(partial, path, ec);
    if (ec) {
        error = "cannot move " + partial.string() + " to " + path.string() + ": " + ec.message();
        std::filesystem::remove(partial, ec);
        return false;
    }
    return true;
}

} // namespace chime
