// The committed answer sounds: canonical 16-bit mono PCM at 22050 Hz, short,
// below clipping, silent at both ends (no click), and the four right-answer
// jingles all different.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t sampleRate = 22050;
constexpr std::size_t headerBytes = 44;
constexpr std::size_t largestFileBytes = 40 * 1024;
// Below full scale by a safe margin, so a player's resampling cannot clip.
constexpr int clippingLevel = 32000;
// Each sound fades in from silence and out to silence: its first and last
// quarter-millisecond stay under 1% of full scale, so it never clicks.
constexpr int silentLevel = 328;
constexpr std::size_t edgeSamples = sampleRate / 4000;

using Bytes = std::vector<unsigned char>;

Bytes readFile(const std::string& name)
{
    std::ifstream in(std::string(TAVENDEL_SOUNDS_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::uint32_t little(const Bytes& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes.at(at + static_cast<std::size_t>(i));
    return value;
}

std::string tag(const Bytes& bytes, std::size_t at)
{
    return {bytes.begin() + static_cast<std::ptrdiff_t>(at),
            bytes.begin() + static_cast<std::ptrdiff_t>(at + 4)};
}

std::vector<std::int16_t> samples(const Bytes& bytes)
{
    std::vector<std::int16_t> out;
    for (std::size_t at = headerBytes; at + 1 < bytes.size(); at += 2)
        out.push_back(static_cast<std::int16_t>(little(bytes, at, 2)));
    return out;
}

int loudest(std::vector<std::int16_t>::const_iterator first,
            std::vector<std::int16_t>::const_iterator last)
{
    int peak = 0;
    for (auto it = first; it != last; ++it)
        peak = std::max(peak, std::abs(int{*it}));
    return peak;
}

struct SoundRow
{
    const char* file;
    double shortestSeconds;
    double longestSeconds;
};

class AnswerSound : public testing::TestWithParam<SoundRow>
{};

// The generator writes the canonical layout: RIFF, WAVE, a 16-byte fmt chunk
// and the data chunk, with sizes that match the file.
TEST_P(AnswerSound, IsShortCanonicalMonoPcm)
{
    const SoundRow row = GetParam();
    const Bytes bytes = readFile(row.file);
    ASSERT_GT(bytes.size(), headerBytes);
    EXPECT_LE(bytes.size(), largestFileBytes);
    EXPECT_EQ(tag(bytes, 0), "RIFF");
    EXPECT_EQ(little(bytes, 4, 4), bytes.size() - 8);
    EXPECT_EQ(tag(bytes, 8), "WAVE");
    EXPECT_EQ(tag(bytes, 12), "fmt ");
    EXPECT_EQ(little(bytes, 16, 4), 16u);
    EXPECT_EQ(little(bytes, 20, 2), 1u) << "PCM";
    EXPECT_EQ(little(bytes, 22, 2), 1u) << "channels";
    EXPECT_EQ(little(bytes, 24, 4), sampleRate);
    EXPECT_EQ(little(bytes, 28, 4), sampleRate * 2) << "byte rate";
    EXPECT_EQ(little(bytes, 32, 2), 2u) << "block align";
    EXPECT_EQ(little(bytes, 34, 2), 16u) << "bits";
    EXPECT_EQ(tag(bytes, 36), "data");
    EXPECT_EQ(little(bytes, 40, 4), bytes.size() - headerBytes);

    const double seconds = static_cast<double>(samples(bytes).size()) / sampleRate;
    EXPECT_GE(seconds, row.shortestSeconds);
    EXPECT_LE(seconds, row.longestSeconds);
}

TEST_P(AnswerSound, NeitherClipsNorClicks)
{
    const std::vector<std::int16_t> wave = samples(readFile(GetParam().file));
    ASSERT_GT(wave.size(), 2 * edgeSamples);
    EXPECT_LT(loudest(wave.begin(), wave.end()), clippingLevel);
    EXPECT_GT(loudest(wave.begin(), wave.end()), clippingLevel / 4) << "too quiet";
    EXPECT_LT(loudest(wave.begin(), wave.begin() + edgeSamples), silentLevel);
    EXPECT_LT(loudest(wave.end() - edgeSamples, wave.end()), silentLevel);
}

INSTANTIATE_TEST_SUITE_P(
    Files, AnswerSound,
    testing::Values(SoundRow{"si1.wav", 0.3, 0.7}, SoundRow{"si2.wav", 0.3, 0.7},
                    SoundRow{"si3.wav", 0.3, 0.7}, SoundRow{"si4.wav", 0.3, 0.7},
                    SoundRow{"no.wav", 0.4, 0.6}),
    [](const testing::TestParamInfo<SoundRow>& info) {
        const std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

TEST(AnswerSounds, TheFourRightAnswerJinglesAreAllDifferent)
{
    const std::vector<std::string> files{"si1.wav", "si2.wav", "si3.wav", "si4.wav"};
    for (std::size_t a = 0; a < files.size(); ++a)
        for (std::size_t b = a + 1; b < files.size(); ++b)
            EXPECT_NE(readFile(files[a]), readFile(files[b])) << files[a] << " and " << files[b];
}

} // namespace
