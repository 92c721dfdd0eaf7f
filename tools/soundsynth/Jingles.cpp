#include "Jingles.h"

#include "Synth.h"

namespace soundsynth {
namespace {
// MIDI note numbers of the pitches used below.
enum Pitch : int {
    G4 = 67, E4 = 64,
    C5 = 72, E5 = 76, F5 = 77, G5 = 79, A5 = 81, B5 = 83,
    C6 = 84, Cs6 = 85, D6 = 86, E6 = 88, F6 = 89, G6 = 91, A6 = 93,
};

// Bright but not shrill: a touch of slightly stretched upper partials gives
// the glockenspiel shimmer without harshness.
const Timbre bell{
    {{1.0, 1.0}, {2.0, 0.30}, {3.0, 0.10}, {4.2, 0.04}},
    0.004,
    0.22,
    0.020,
};

// Round and soft, with a slow swell, so a wrong answer is never startling.
const Timbre soft{
    {{1.0, 1.0}, {2.0, 0.15}},
    0.030,
    0.60,
    0.080,
};

constexpr double bellPeak = 0.70;
constexpr double softPeak = 0.45;

// Each note rings until the end of the jingle; the next ones sound over it.
std::vector<Note> ringingArpeggio(const std::vector<int>& pitches, double step, double length)
{
    std::vector<Note> notes;
    double start = 0.0;
    for (int p : pitches) {
        notes.push_back({start, length - start, pitch(p)});
        start += step;
    }
    return notes;
}

std::vector<std::int16_t> risingMajor()
{
    constexpr double length = 0.62;
    return finish(render(ringingArpeggio({C5, E5, G5, C6}, 0.08, length), bell, length),
                  bellPeak);
}

std::vector<std::int16_t> taDa()
{
    constexpr double length = 0.58;
    constexpr double chordAt = 0.13;
    constexpr double chordGain = 0.7;
    const std::vector<Note> notes{
        {0.0, 0.12, pitch(G5)},
        {chordAt, length - chordAt, pitch(B5), chordGain},
        {chordAt, length - chordAt, pitch(D6), chordGain},
        {chordAt, length - chordAt, pitch(G6), chordGain},
    };
    return finish(render(notes, bell, length), bellPeak);
}

std::vector<std::int16_t> dingDingDing()
{
    constexpr double length = 0.70;
    return finish(render(ringingArpeggio({F5, C6, F6}, 0.15, length), bell, length), bellPeak);
}

std::vector<std::int16_t> sparkleRun()
{
    constexpr double length = 0.50;
    return finish(render(ringingArpeggio({A5, B5, Cs6, E6, A6}, 0.05, length), bell, length),
                  bellPeak);
}

std::vector<std::int16_t> uhOh()
{
    constexpr double length = 0.52;
    constexpr double slideDown = 0.97;
    const std::vector<Note> notes{
        {0.0, 0.20, pitch(G4)},
        {0.24, length - 0.24, pitch(E4), 1.0, slideDown},
    };
    return finish(render(notes, soft, length), softPeak);
}
} // namespace

std::vector<Jingle> answerSounds()
{
    return {
        {"si1.wav", risingMajor()},
        {"si2.wav", taDa()},
        {"si3.wav", dingDingDing()},
        {"si4.wav", sparkleRun()},
        {"no.wav", uhOh()},
    };
}

} // namespace soundsynth
