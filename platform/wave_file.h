#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// How the samples of a WAVE file are laid out: interleaved frames of `channels` samples.
struct WaveFormat {
    enum class Sample { UInt8, Int16, Int32, Float32 };
    int sampleRate = 0;
    int channels = 0;
    Sample sample = Sample::Int16;

    int bytesPerFrame() const;
    bool operator==(const WaveFormat&) const = default;
};

// A WAVE file read whole: its format and its sample bytes, whole frames only.
struct Wave {
    WaveFormat format;
    std::string samples;
};

// Uncompressed PCM of 8, 16 or 32 bits and 32-bit float, plain or in the extensible header.
// Anything else (compressed formats, 24-bit samples, a file without its format or data chunk)
// gives nothing. A data chunk cut short by the end of the file keeps what is there, as players do.
std::optional<Wave> parseWave(std::string_view bytes);

// The file read and parsed; nothing for a missing, unreadable or unplayable file.
std::optional<Wave> readWave(const std::string& path);

} // namespace platform
