// Entry point of the Qt Multimedia sound module, looked up by name when the
// program plays its first sound.

#include "QtSoundPlayer.h"
#include "SoundModule.h"

#include <QtGlobal>

#include <type_traits>

extern "C" Q_DECL_EXPORT void tavendel_create_sound_player(
    std::unique_ptr<forms::SoundPlayer>& player)
{
    player = std::make_unique<forms::QtSoundPlayer>();
}

// Keeps the exported function and the loader's view of it in step.
static_assert(std::is_same_v<decltype(&tavendel_create_sound_player), forms::SoundModuleFactory>);
