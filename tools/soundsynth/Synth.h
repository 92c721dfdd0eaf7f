#pragma once

#include <cstdint>
#include <vector>

namespace soundsynth {

inline constexpr int sampleRate = 22050;

// The colour of a note: the strength of each partial (as a multiple of the
// fundamental) and how the note swells and dies away.
struct Timbre
{
    struct Partial
    {
        double ratio;
        double amplitude;
    };
    std::vector<Partial> partials;
    double attackSeconds;
    // Time for the note to fall to 1/e of its peak; higher partials die
    // faster, as on a struck bar.
    double decaySeconds;
    double releaseSeconds;
};

struct Note
{
    double startSeconds;
    double durationSeconds;
    double frequency;
    double gain = 1.0;
    // Pitch at the end of the note as a share of the start, for a sliding note.
    double glide = 1.0;
};

// Mixes the notes into a buffer lengthSeconds long, at sampleRate.
std::vector<double> render(const std::vector<Note>& notes, const Timbre& timbre,
                           double lengthSeconds);

// Scales the mix to the given peak (a share of full scale), fades both ends so
// the sound starts and stops without a click, and quantizes to 16 bits.
std::vector<std::int16_t> finish(std::vector<double> mix, double peak);

// Equal-tempered pitch of a MIDI note number (69 = A4 = 440 Hz).
double pitch(int midiNote);

} // namespace soundsynth
