// Without its Qt Multimedia module beside the executable the program still
// takes every sound call: each one becomes the platform's alert.

#include "forms/SoundPlayer.h"

#include <QFile>
#include <QTest>

namespace {

bool qtMultimediaMapped()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read the process's memory map");
    return maps.readAll().contains("libQt6Multimedia.so");
}

} // namespace

class SoundFallbackTest : public QObject
{
    Q_OBJECT

private slots:
    void everySoundBecomesTheAlert();
};

void SoundFallbackTest::everySoundBecomesTheAlert()
{
    for (const char* file : {"si1.wav", "no.wav", "missing.wav"}) {
        const QString path = QStringLiteral(TAVENDEL_SOUNDS_DIR "/") + QLatin1String(file);
        QVERIFY_THROWS_NO_EXCEPTION(forms::soundPlayer().play(path));
    }
    QTest::qWait(50);
    QVERIFY(!qtMultimediaMapped());
}

QTEST_MAIN(SoundFallbackTest)
#include "SoundFallbackTest.moc"
