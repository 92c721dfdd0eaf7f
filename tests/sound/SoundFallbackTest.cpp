// Without its Qt Multimedia module beside the executable the program still
// takes every sound call: each one becomes the platform's alert.

#include "forms/SoundPlayer.h"

#include <QFile>
#include <QTest>

class SoundFallbackTest : public QObject
{
    Q_OBJECT

private slots:
    void everySoundBecomesTheAlert();
};

void SoundFallbackTest::everySoundBecomesTheAlert()
{
    for (const char* file : {"si1.wav", "no.wav", "missing.wav"})
        QVERIFY_THROWS_NO_EXCEPTION(forms::soundPlayer().play(QStringLiteral(TAVENDEL_SOUNDS_DIR "/") + file));
    QTest::qWait(50);
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly | QIODevice::Text));
    QVERIFY(!maps.readAll().contains("libQt6Multimedia.so"));
}

QTEST_MAIN(SoundFallbackTest)
#include "SoundFallbackTest.moc"
