#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace soundsynth {

// Writes 16-bit mono PCM samples as a canonical 44-byte-header WAV file.
// Returns false when the file cannot be written.
bool writeWav(const std::filesystem::path& file, const std::vector<std::int16_t>& samples,
              int sampleRate);

} // namespace soundsynth
