#include "SoundPlayer.h"

#include "Places.h"
#include "sound/SoundModule.h"

#include <QApplication>
#include <QDir>
#include <QLibrary>

#include <memory>

namespace forms {
namespace {
void alert()
{
    // Without a GUI application there is no platform to beep through.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

// Loads the Qt Multimedia module when the first sound is played and hands
// every sound to the player it makes; without the module every sound is the
// alert, as for a file that cannot be played.
class ModuleSoundPlayer final : public SoundPlayer
{
public:
    void play(const QString& path) override
    {
        if (SoundPlayer* player = loadedPlayer())
            player->play(path);
        else
            alert();
    }

    void release() { player_.reset(); }

private:
    SoundPlayer* loadedPlayer();
    static SoundModuleFactory loadFactory();

    bool moduleTried_ = false;
    SoundModuleFactory factory_ = nullptr;
    std::unique_ptr<SoundPlayer> player_;
};

ModuleSoundPlayer& modulePlayer()
{
    static ModuleSoundPlayer player;
    return player;
}

void releaseModulePlayer()
{
    modulePlayer().release();
}

SoundPlayer* ModuleSoundPlayer::loadedPlayer()
{
    if (player_)
        return player_.get();
    if (!QCoreApplication::instance())
        return nullptr;
    if (!moduleTried_) {
        moduleTried_ = true;
        factory_ = loadFactory();
    }
    if (!factory_)
        return nullptr;
    factory_(player_);
    // Qt Multimedia objects must not outlive the application object; a later
    // application (as in tests) gets a fresh player from the loaded module.
    qAddPostRoutine(&releaseModulePlayer);
    return player_.get();
}

SoundModuleFactory ModuleSoundPlayer::loadFactory()
{
    // Beside the executable in a portable folder, in the private library
    // folder when installed.
    const QString module = QDir(places().libraryFolder()).filePath(TAVENDEL_SOUND_MODULE_FILE);
    // The library stays loaded until the program exits.
    return reinterpret_cast<SoundModuleFactory>(
        QLibrary::resolve(module, soundModuleFactoryName));
}

SoundPlayer*& injected()
{
    static SoundPlayer* player = nullptr;
    return player;
}
} // namespace

SoundPlayer& soundPlayer()
{
    return injected() ? *injected() : modulePlayer();
}

void setSoundPlayer(SoundPlayer* player)
{
    injected() = player;
}

} // namespace forms
