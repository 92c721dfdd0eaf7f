#include "QtSoundPlayer.h"

#include "WaveCheck.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>

namespace forms {

QtSoundPlayer::QtSoundPlayer(Alert alert)
    : alert_(std::move(alert))
{
    // A file can pass the header check and still fail to decode; the effect
    // reports that only later, through its status.
    QObject::connect(&effect_, &QSoundEffect::statusChanged, &effect_,
                     [this] { onStatusChanged(); });
}

void QtSoundPlayer::play(const QString& path)
{
    effect_.stop();
    if (!isPlayableWave(path)) {
        alert_();
        return;
    }
    const QUrl source = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (source == effect_.source() && effect_.status() == QSoundEffect::Error) {
        // The same broken file again: the effect will not report it twice.
        alert_();
        return;
    }
    effect_.setSource(source);
    // On a machine without sound the file is still loaded, so a broken one
    // still gives the alert, but there is nothing to play it on.
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull())
        return;
    // Follow the system's choice, which may have changed since the last sound.
    if (effect_.audioDevice() != output)
        effect_.setAudioDevice(output);
    effect_.play();
}

QUrl QtSoundPlayer::source() const
{
    return effect_.source();
}

QSoundEffect::Status QtSoundPlayer::status() const
{
    return effect_.status();
}

QtSoundPlayer::Alert QtSoundPlayer::defaultAlert()
{
    return [] { QApplication::beep(); };
}

void QtSoundPlayer::onStatusChanged()
{
    if (effect_.status() == QSoundEffect::Error)
        alert_();
}

} // namespace forms
