#include "chime_sound.h"
#include "wav_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::string tag(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::string(b.begin() + at, b.begin() + at + 4);
}

} // namespace

TEST(WavWriter, HeaderFieldsAndSamples) {
    const std::vector<std::int16_t> samples{0, 1, -1, 32767, -32768};
    const auto b = chime::encodeWav(samples, 22050);
    ASSERT_EQ(b.size(), 44u + 2 * samples.size());
    EXPECT_EQ(tag(b, 0), "RIFF");
    EXPECT_EQ(le32(b, 4), b.size() - 8);
    EXPECT_EQ(tag(b, 8), "WAVE");
    EXPECT_EQ(tag(b, 12), "fmt ");
    EXPECT_EQ(le32(b, 16), 16u);
    EXPECT_EQ(le16(b, 20), 1u);        // PCM
    EXPECT_EQ(le16(b, 22), 1u);        // mono
    EXPECT_EQ(le32(b, 24), 22050u);    // sample rate
    EXPECT_EQ(le32(b, 28), 22050u * 2); // bytes per second
    EXPECT_EQ(le16(b, 32), 2u);        // block align
    EXPECT_EQ(le16(b, 34), 16u);       // bits per sample
    EXPECT_EQ(tag(b, 36), "data");
    EXPECT_EQ(le32(b, 40), 2 * samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i)
        EXPECT_EQ(static_cast<std::int16_t>(le16(b, 44 + 2 * i)), samples[i]) << "sample " << i;
}

TEST(WavWriter, WritesWholeFileOrReportsFailure) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("chime-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::vector<std::int16_t> samples(1000, 123);
    std::string error;
    ASSERT_TRUE(chime::writeWav(dir / "a.wav", samples, 44100, error)) << error;
    std::ifstream in(dir / "a.wav", std::ios::binary);
    const std::vector<std::uint8_t> written{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(written, chime::encodeWav(samples, 44100));
    EXPECT_FALSE(std::filesystem::exists(dir / "a.wav.part"));

    EXPECT_FALSE(chime::writeWav(dir / "no-such-folder" / "b.wav", samples, 44100, error));
    EXPECT_FALSE(error.empty());
    std::filesystem::remove_all(dir);
}

TEST(ChimeSound, HalfSecondAtMinusSixAndAHalfDbfsFromSilenceToSilence) {
    const auto s = chime::synthesizeChime();
    ASSERT_FALSE(s.empty());
    EXPECT_NEAR(static_cast<double>(s.size()) / chime::kSampleRate, 0.5, 0.1);
    EXPECT_EQ(s.front(), 0);
    EXPECT_EQ(s.back(), 0);
    int peak = 0;
    for (std::int16_t v : s)
        peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_NEAR(20.0 * std::log10(peak / 32768.0), -6.5, 0.2);
}
