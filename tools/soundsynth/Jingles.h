#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soundsynth {

struct Jingle
{
    std::string fileName;
    std::vector<std::int16_t> samples;
};

// The four right-answer jingles (si1.wav .. si4.wav), each a different bright
// figure on a bell, and the gentle falling "uh-oh" of a wrong answer (no.wav).
std::vector<Jingle> answerSounds();

} // namespace soundsynth
