#pragma once

#include <QString>

namespace forms {

// Whether the file is a regular file holding a RIFF/WAVE sound that Qt's wave
// decoder can play: integer PCM of 8, 16, 24 or 32 bits, and a data chunk of
// whole frames lying wholly inside the file.
//
// The check is stricter than RIFF itself because the decoder fails in the
// worst way on some files: a data chunk of part frames leaves it loading for
// ever, and the next sound then waits on it for ever.
bool isPlayableWave(const QString& path);

} // namespace forms
