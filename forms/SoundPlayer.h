#pragma once

#include <QString>

namespace forms {

// Plays a WAV file asynchronously: play() returns at once, a new sound
// replaces the one still playing, and a file that is missing or cannot be
// played gives the platform's alert sound instead of an error.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString& path) = 0;
};

// The player in use. By default one that loads Qt Multimedia only when the
// first sound is played, so start-up stays light.
SoundPlayer& soundPlayer();

// Test seam: use another player (not owned; nullptr restores the default).
void setSoundPlayer(SoundPlayer* player);

} // namespace forms
