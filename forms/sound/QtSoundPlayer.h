#pragma once

#include "forms/SoundPlayer.h"

#include <QSoundEffect>
#include <QUrl>

#include <functional>

namespace forms {

// The answer-sound player on Qt Multimedia. One sound effect serves every
// file, so a new sound always stops the one before it and a quick run of
// answers is never queued. A file it cannot play gives the alert sound.
class QtSoundPlayer final : public SoundPlayer
{
public:
    using Alert = std::function<void()>;

    // The alert is the platform's beep; tests count calls instead.
    explicit QtSoundPlayer(Alert alert = defaultAlert());

    void play(const QString& path) override;

    // The file now loading or playing.
    QUrl source() const;
    QSoundEffect::Status status() const;

private:
    static Alert defaultAlert();
    void onStatusChanged();

    Alert alert_;
    QSoundEffect effect_;
};

} // namespace forms
