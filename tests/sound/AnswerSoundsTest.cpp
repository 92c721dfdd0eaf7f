// The committed answer sounds: canonical 16-bit mono PCM at 22050 Hz, short,
// below clipping, silent at both ends (no click), and the four right-answer
// jingles all different.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>

namespace {

constexpr std::uint32_t sampleRate = 22050;
constexpr std::size_t headerBytes = 44;
// Below full scale by a safe margin, so a player's resampling cannot clip.
constexpr int clippingLevel = 32000;
// The first and last quarter-millisecond stay under 1% of full scale.
constexpr int silentLevel = 328;
constexpr std::size_t edgeSamples = sampleRate / 4000;

std::string readFile(const std::string& name)
{
    std::ifstream in(std::string(TAVENDEL_SOUNDS_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string le(std::uint32_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
    return out;
}

// The loudest of the 16-bit samples first to last (excluded) after the header.
int loudest(const std::string& bytes, std::size_t first, std::size_t last)
{
    int peak = 0;
    for (std::size_t at = headerBytes + 2 * first; at < headerBytes + 2 * last; at += 2) {
        const auto sample = std::int16_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8);
        peak = std::max(peak, std::abs(int{sample}));
    }
    return peak;
}

TEST(AnswerSounds, AreShortCanonicalMonoPcmThatNeitherClipsNorClicks)
{
    const std::tuple<const char*, double, double> rows[] = {
        {"si1.wav", 0.3, 0.7}, {"si2.wav", 0.3, 0.7}, {"si3.wav", 0.3, 0.7}, {"si4.wav", 0.3, 0.7}, {"no.wav", 0.4, 0.6}};
    std::set<std::string> distinct;
    for (const auto& [file, shortestSeconds, longestSeconds] : rows) {
        SCOPED_TRACE(file);
        const std::string bytes = readFile(file);
        distinct.insert(bytes);
        ASSERT_GT(bytes.size(), headerBytes + 4 * edgeSamples);
        EXPECT_LE(bytes.size(), 40u * 1024);
        const auto size = std::uint32_t(bytes.size());
        // RIFF, WAVE, a 16-byte fmt chunk (PCM, 1 channel, rate, byte rate, block align, bits), the data.
        EXPECT_EQ(bytes.substr(0, headerBytes), "RIFF" + le(size - 8, 4) + "WAVEfmt " + le(16, 4) + le(1, 2)
                                                     + le(1, 2) + le(sampleRate, 4) + le(sampleRate * 2, 4)
                                                     + le(2, 2) + le(16, 2) + "data" + le(size - headerBytes, 4));
        const std::size_t samples = (bytes.size() - headerBytes) / 2;
        EXPECT_GE(double(samples) / sampleRate, shortestSeconds);
        EXPECT_LE(double(samples) / sampleRate, longestSeconds);

        EXPECT_LT(loudest(bytes, 0, samples), clippingLevel);
        EXPECT_GT(loudest(bytes, 0, samples), clippingLevel / 4) << "too quiet";
        EXPECT_LT(loudest(bytes, 0, edgeSamples), silentLevel);
        EXPECT_LT(loudest(bytes, samples - edgeSamples, samples), silentLevel);
    }
    EXPECT_EQ(distinct.size(), std::size(rows)) << "the four right-answer jingles must all differ";
}

} // namespace
