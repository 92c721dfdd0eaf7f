#pragma once

#include "forms/SoundPlayer.h"

#include <memory>

namespace forms {

// The contract between the program and its Qt Multimedia sound module, which
// is loaded only when the first sound is played so that start-up does not pay
// for Qt Multimedia and its media back-end.
//
// The factory hands the player over through an out-parameter: a C-linkage
// function cannot return a C++ smart pointer, and ownership must never be in
// doubt across the library boundary.
using SoundModuleFactory = void (*)(std::unique_ptr<SoundPlayer>& player);

inline constexpr char soundModuleFactoryName[] = "tavendel_create_sound_player";

} // namespace forms
