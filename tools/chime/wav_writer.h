#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace chime {

// The complete bytes of a 16-bit mono PCM WAV file (RIFF header, "fmt " and "data" chunks),
// little-endian whatever the host.
std::vector<std::uint8_t> encodeWav(const std::vector<std::int16_t>& samples,
                                    std::uint32_t sampleRate);

// Writes the WAV next to `path` first and renames it into place, so that a failed run never leaves
// a truncated file that the build would take as up to date. Returns false with `error` set.
bool writeWav(const std::filesystem::path& path, const std::vector<std::int16_t>& samples,
              std::uint32_t sampleRate, std::string& error);

} // namespace chime
