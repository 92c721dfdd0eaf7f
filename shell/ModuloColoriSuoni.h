#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The two kinds of feedback: a random background colour for every form and
// every new question, and a sound for each answer when sounds are on.
namespace ModuloColoriSuoni {

// The palette, 0x00BBGGRR. Orange and pale magenta stand twice, so they
// come up twice as often as the others.
inline constexpr std::array<std::uint32_t, 18> kTavolozza{
    0xC0C0FF, 0x8080FF, 0x0080FF, 0x80C0FF, 0x0080FF, 0xC0FFFF, 0x00FFFF, 0x0040C0, 0x80FF80,
    0x00C000, 0xFFFFC0, 0xFFFF00, 0xFFC0C0, 0xFFC0FF, 0xFFC0FF, 0xE0E0E0, 0xFF0000, 0xFF00FF,
};

std::uint32_t ColoreCasuale();

// One of the four right-answer sounds, chosen at random.
void SuonoEsatto();
void SuonoErrato();

// The path of a sound under the program's folder, e.g. "suoni/si1.wav".
QString percorsoSuono(const QString& file);

} // namespace ModuloColoriSuoni
