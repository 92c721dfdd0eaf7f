// The Qt Multimedia player: which files it accepts, the alert for the others,
// and a new sound replacing the one before it.

#include "forms/sound/QtSoundPlayer.h"
#include "forms/sound/WaveCheck.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using forms::QtSoundPlayer;

namespace {

// WAVE format tags.
constexpr quint16 pcm = 1;
constexpr quint16 ieeeFloat = 3;
constexpr quint16 mpegLayer3 = 0x55;
constexpr quint16 extensible = 0xFFFE;
// A whole number of frames for every sample layout used below.
constexpr int silentBytes = 4800;

struct Format
{
    quint16 tag = pcm;
    quint16 channels = 1;
    quint32 rate = 22050;
    quint16 bits = 16;
};

QByteArray le(quint32 value, int bytes)
{
    QByteArray out(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        out[i] = char((value >> (8 * i)) & 0xFF);
    return out;
}

// Padded to an even length; declaredSize -1 declares the body's own size.
QByteArray chunk(const QByteArray& tag, const QByteArray& body, qint64 declaredSize = -1)
{
    const QByteArray out = tag + le(quint32(declaredSize < 0 ? body.size() : declaredSize), 4) + body;
    return body.size() % 2 ? out + '\0' : out;
}

QByteArray fmt(const Format& f)
{
    const quint16 block = quint16(f.channels * (f.bits / 8));
    return chunk("fmt ", le(f.tag, 2) + le(f.channels, 2) + le(f.rate, 4)
                             + le(f.rate * block, 4) + le(block, 2) + le(f.bits, 2));
}

QByteArray data(int bytes = silentBytes)
{
    return chunk("data", QByteArray(bytes, '\0'));
}

QByteArray riff(const QByteArray& chunks, const QByteArray& form = "WAVE")
{
    return "RIFF" + le(quint32(4 + chunks.size()), 4) + form + chunks;
}

QByteArray wave(const Format& f = {})
{
    return riff(fmt(f) + data());
}

QString sound(const char* file)
{
    return QStringLiteral(TAVENDEL_SOUNDS_DIR "/") + QLatin1String(file);
}

} // namespace

class QtSoundPlayerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    int alerts_ = 0;

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir_.filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return file.fileName();
    }

private slots:
    void init() { alerts_ = 0; }

    void checksTheWaveHeader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("playable");

        const QByteArray good = wave();
        QTest::newRow("16-bit mono PCM") << good << true;
        QTest::newRow("8-bit stereo PCM") << wave({pcm, 2, 44100, 8}) << true;
        QTest::newRow("24-bit PCM") << wave({pcm, 1, 48000, 24}) << true;
        QTest::newRow("32-bit PCM") << wave({pcm, 2, 48000, 32}) << true;
        QTest::newRow("fact chunk before the data") << riff(fmt({}) + chunk("fact", le(silentBytes / 2, 4)) + data()) << true;
        QTest::newRow("odd-sized chunk, padded") << riff(fmt({}) + chunk("LIST", "INFOodd") + data()) << true;

        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("text named .wav") << QByteArray("not a sound at all\n") << false;
        QTest::newRow("RIFF but AVI") << riff(fmt({}) + data(), "AVI ") << false;
        QTest::newRow("cut inside the fmt chunk") << good.left(30) << false;
        QTest::newRow("cut inside the data") << good.left(good.size() / 2) << false;
        QTest::newRow("no data chunk") << riff(fmt({})) << false;
        QTest::newRow("empty data chunk") << riff(fmt({}) + data(0)) << false;
        QTest::newRow("data before fmt") << riff(data() + fmt({})) << false;
        QTest::newRow("short fmt chunk") << riff(chunk("fmt ", le(pcm, 2)) + data()) << false;
        // Valid WAV, but the decoder fails on these; part frames would leave it
        // loading for ever.
        QTest::newRow("32-bit float") << wave({ieeeFloat, 1, 48000, 32}) << false;
        QTest::newRow("extensible") << wave({extensible, 2, 44100, 16}) << false;
        QTest::newRow("compressed (MP3)") << wave({mpegLayer3, 1, 22050, 16}) << false;
        QTest::newRow("12-bit PCM") << wave({pcm, 1, 22050, 12}) << false;
        QTest::newRow("data of part frames") << riff(fmt({pcm, 2, 22050, 16}) + data(4002)) << false;
        QTest::newRow("no channels") << wave({pcm, 0, 22050, 16}) << false;
        QTest::newRow("chunk size beyond the file") << riff(fmt({}) + chunk("LIST", "x", 0x7FFFFFF0) + data()) << false;
    }
    void checksTheWaveHeader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, playable);
        QCOMPARE(forms::isPlayableWave(write("sound.wav", bytes)), playable);
    }

    void alertsOnceForAFileItCannotPlay_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << dir_.filePath("missing.wav");
        QTest::newRow("folder") << dir_.path();
        QTest::newRow("text named .wav") << write("text.wav", "hello\n");
    }
    void alertsOnceForAFileItCannotPlay()
    {
        QFETCH(QString, path);
        QtSoundPlayer player([this] { ++alerts_; });
        player.play(path);
        QCOMPARE(alerts_, 1);
        QTest::qWait(50);
        QCOMPARE(alerts_, 1);
    }

    // A quick run of answers: the first sound replaces one still loading, each
    // later one the sound playing, and the same sound again restarts it.
    void playsEveryAnswerSoundEachReplacingTheLast()
    {
        QtSoundPlayer player([this] { ++alerts_; });
        player.play(sound("no.wav"));
        for (const char* file : {"si1.wav", "si2.wav", "si3.wav", "si4.wav", "no.wav"}) {
            player.play(sound(file));
            QCOMPARE(player.source(), QUrl::fromLocalFile(sound(file)));
            QTRY_COMPARE(player.status(), QSoundEffect::Ready);
            player.play(sound(file));
            player.play(sound(file));
            QCOMPARE(player.status(), QSoundEffect::Ready);
        }
        QTest::qWait(100);
        QCOMPARE(player.source(), QUrl::fromLocalFile(sound("no.wav")));
        QCOMPARE(alerts_, 0);
    }

    // Passes the header check, but Qt's decoder (6.4 at least) does not skip
    // the pad byte after an odd-sized chunk. Whatever the decoder makes of it,
    // the alert must come exactly when the effect reports an error, every time.
    void decoderErrorAlertsEveryTime()
    {
        const QString path = write("padded.wav", riff(fmt({}) + chunk("LIST", "INFOodd") + data()));
        QtSoundPlayer player([this] { ++alerts_; });
        for (int time = 1; time <= 2; ++time) {
            player.play(path);
            QTRY_VERIFY(player.status() == QSoundEffect::Ready || player.status() == QSoundEffect::Error);
            QCOMPARE(alerts_, player.status() == QSoundEffect::Error ? time : 0);
        }
    }
};

QTEST_MAIN(QtSoundPlayerTest)
#include "QtSoundPlayerTest.moc"
