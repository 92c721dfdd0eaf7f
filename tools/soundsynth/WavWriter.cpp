#include "WavWriter.h"

#include <fstream>
#include <string_view>

namespace soundsynth {
namespace {
constexpr std::uint16_t pcmFormat = 1;
constexpr std::uint16_t monoChannels = 1;
constexpr std::uint16_t bitsPerSample = 16;
constexpr std::uint16_t bytesPerSample = bitsPerSample / 8;
constexpr std::uint32_t fmtChunkSize = 16;
// "WAVE" + the fmt chunk header and body + the data chunk header.
constexpr std::uint32_t headerBytesAfterRiffSize = 4 + 8 + fmtChunkSize + 8;

// WAV is little-endian whatever the machine writing it.
void put(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

void put16(std::ofstream& out, std::uint16_t value) { put(out, value, 2); }
void put32(std::ofstream& out, std::uint32_t value) { put(out, value, 4); }
void putTag(std::ofstream& out, std::string_view tag) { out.write(tag.data(), 4); }
} // namespace

bool writeWav(const std::filesystem::path& file, const std::vector<std::int16_t>& samples,
              int sampleRate)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * bytesPerSample);
    const auto rate = static_cast<std::uint32_t>(sampleRate);

    putTag(out, "RIFF");
    put32(out, headerBytesAfterRiffSize + dataBytes);
    putTag(out, "WAVE");

    putTag(out, "fmt ");
    put32(out, fmtChunkSize);
    put16(out, pcmFormat);
    put16(out, monoChannels);
    put32(out, rate);
    put32(out, rate * monoChannels * bytesPerSample);
    put16(out, monoChannels * bytesPerSample);
    put16(out, bitsPerSample);

    putTag(out, "data");
    put32(out, dataBytes);
    for (std::int16_t sample : samples)
        put16(out, static_cast<std::uint16_t>(sample));
    return static_cast<bool>(out.flush());
}

} // namespace soundsynth
