#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace soundsynth {
namespace {
constexpr double edgeFadeSeconds = 0.004;
constexpr double tailFadeSeconds = 0.030;
constexpr double fullScale = 32767.0;

std::size_t toSamples(double seconds)
{
    return static_cast<std::size_t>(std::lround(seconds * sampleRate));
}

// Rises over the attack, dies away exponentially, and closes over the release
// so a note cut short by the next one never clicks.
double envelope(double t, double duration, const Timbre& timbre, double decayScale)
{
    const double attack = std::min(1.0, t / timbre.attackSeconds);
    const double decay = std::exp(-t / (timbre.decaySeconds * decayScale));
    const double untilEnd = duration - t;
    const double release = std::clamp(untilEnd / timbre.releaseSeconds, 0.0, 1.0);
    return attack * decay * release;
}

void addNote(std::vector<double>& mix, const Note& note, const Timbre& timbre)
{
    const std::size_t first = toSamples(note.startSeconds);
    const std::size_t count = toSamples(note.durationSeconds);
    double phase = 0.0;
    for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double progress = static_cast<double>(i) / static_cast<double>(count);
        const double frequency = note.frequency * (1.0 + (note.glide - 1.0) * progress);
        double sample = 0.0;
        for (const Timbre::Partial& partial : timbre.partials) {
            const double decayScale = 1.0 / partial.ratio;
            sample += partial.amplitude * std::sin(phase * partial.ratio)
                      * envelope(t, note.durationSeconds, timbre, decayScale);
        }
        mix[first + i] += note.gain * sample;
        phase += 2.0 * std::numbers::pi * frequency / sampleRate;
    }
}

void fadeEnds(std::vector<double>& mix)
{
    const std::size_t head = std::min(mix.size(), toSamples(edgeFadeSeconds));
    for (std::size_t i = 0; i < head; ++i)
        mix[i] *= static_cast<double>(i) / static_cast<double>(head);
    const std::size_t tail = std::min(mix.size(), toSamples(tailFadeSeconds));
    for (std::size_t i = 0; i < tail; ++i)
        mix[mix.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(tail);
}
} // namespace

std::vector<double> render(const std::vector<Note>& notes, const Timbre& timbre,
                           double lengthSeconds)
{
    std::vector<double> mix(toSamples(lengthSeconds), 0.0);
    for (const Note& note : notes)
        addNote(mix, note, timbre);
    return mix;
}

std::vector<std::int16_t> finish(std::vector<double> mix, double peak)
{
    double loudest = 0.0;
    for (double sample : mix)
        loudest = std::max(loudest, std::abs(sample));
    const double scale = loudest > 0.0 ? peak / loudest : 0.0;
    for (double& sample : mix)
        sample *= scale;
    fadeEnds(mix);

    std::vector<std::int16_t> pcm;
    pcm.reserve(mix.size());
    for (double sample : mix)
        pcm.push_back(static_cast<std::int16_t>(std::lround(sample * fullScale)));
    return pcm;
}

double pitch(int midiNote)
{
    constexpr int a4 = 69;
    constexpr double a4Hertz = 440.0;
    constexpr double semitonesPerOctave = 12.0;
    return a4Hertz * std::pow(2.0, (midiNote - a4) / semitonesPerOctave);
}

} // namespace soundsynth
