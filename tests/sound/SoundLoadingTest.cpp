// The default sound player as the program gets it: Qt Multimedia stays out of
// the process until the first sound, and a test's own player can take over.
// The slots run in order: the first ones run before anything has been played.

#include "forms/SoundPlayer.h"

#include <QFile>
#include <QScopeGuard>
#include <QStringList>
#include <QTest>

namespace {

bool mapped(const char* library)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read the process's memory map");
    return maps.readAll().contains(library);
}

QString sound(const char* file)
{
    return QStringLiteral(TAVENDEL_SOUNDS_DIR "/") + QLatin1String(file);
}

class RecordingPlayer final : public forms::SoundPlayer
{
public:
    void play(const QString& path) override { played.append(path); }
    QStringList played;
};

} // namespace

class SoundLoadingTest : public QObject
{
    Q_OBJECT

private slots:
    void startUpLeavesQtMultimediaOut()
    {
        forms::soundPlayer();
        QVERIFY(!mapped("libQt6Multimedia.so"));
        QVERIFY(!mapped("tavendel_qtsound"));
    }

    void injectedPlayerTakesOverAndNullptrRestoresTheDefault()
    {
        forms::SoundPlayer& standard = forms::soundPlayer();
        RecordingPlayer recorder;
        // A failed check returns early; the recorder must not stay injected.
        const auto restore = qScopeGuard([] { forms::setSoundPlayer(nullptr); });

        forms::setSoundPlayer(&recorder);
        QCOMPARE(&forms::soundPlayer(), &recorder);
        forms::soundPlayer().play(sound("si1.wav"));
        forms::soundPlayer().play(sound("no.wav"));
        QCOMPARE(recorder.played, QStringList({sound("si1.wav"), sound("no.wav")}));
        QVERIFY(!mapped("libQt6Multimedia.so"));

        forms::setSoundPlayer(nullptr);
        QCOMPARE(&forms::soundPlayer(), &standard);
    }

    // The quick run of sounds after it, a missing file among them, never fails.
    void firstSoundBringsQtMultimediaIn()
    {
        forms::soundPlayer().play(sound("si1.wav"));
        QVERIFY(mapped("tavendel_qtsound"));
        QVERIFY(mapped("libQt6Multimedia.so"));
        for (const char* file : {"si2.wav", "missing.wav", "si3.wav", "si4.wav", "no.wav"})
            QVERIFY_THROWS_NO_EXCEPTION(forms::soundPlayer().play(sound(file)));
        QTest::qWait(100);
    }
};

QTEST_MAIN(SoundLoadingTest)
#include "SoundLoadingTest.moc"
