// The default sound player as the program gets it: Qt Multimedia stays out of
// the process until the first sound, and a test's own player can take over.
// Built twice: beside the sound module, and away from it, where every sound
// becomes the platform's alert and Qt Multimedia never comes in.

#include "TestProgram.h" // only for its recording player: this test links nothing but the forms library
#include "forms/SoundPlayer.h"

#include <QFile>
#include <QTest>

namespace {

bool mapped(const char* library)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

QString sound(const char* file) { return QStringLiteral(TAVENDEL_SOUNDS_DIR "/") + QLatin1String(file); }

} // namespace

class SoundLoadingTest : public QObject
{
    Q_OBJECT

private slots:
    // A test's own player takes over, and nullptr gives the default back; a
    // quick run of sounds, a missing file among them, then never fails.
    void firstSoundBringsQtMultimediaIn()
    {
        forms::SoundPlayer& standard = forms::soundPlayer();
        RecordingSoundPlayer recorder;
        forms::setSoundPlayer(&recorder);
        forms::soundPlayer().play(sound("si1.wav"));
        forms::setSoundPlayer(nullptr);
        QCOMPARE(&forms::soundPlayer(), &standard); // what the recorder hears, every exercise's test shows
        QVERIFY(!mapped("libQt6Multimedia.so") && !mapped("tavendel_qtsound"));
        for (const char* file : {"si1.wav", "missing.wav", "si2.wav", "no.wav"})
            forms::soundPlayer().play(sound(file));
        QTest::qWait(100);
        QCOMPARE(mapped("tavendel_qtsound") + mapped("libQt6Multimedia.so"), 2 * TAVENDEL_BESIDE_THE_MODULE);
    }
};

QTEST_MAIN(SoundLoadingTest)
#include "SoundLoadingTest.moc"
