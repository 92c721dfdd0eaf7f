// The default sound player as the program gets it: Qt Multimedia stays out of
// the process until the first sound, a test's own player can take over, and
// no file, however broken, makes a sound call fail.
//
// The slots depend on their order: the first ones run before anything has
// been played in this process.

#include "forms/SoundPlayer.h"

#include <QFile>
#include <QScopeGuard>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool mapped(const QString& library)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read the process's memory map");
    return QString::fromLocal8Bit(maps.readAll()).contains(library);
}

bool qtMultimediaMapped()
{
    return mapped(QStringLiteral("libQt6Multimedia.so"));
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
    void startUpLeavesQtMultimediaOut();
    void injectedPlayerTakesOverAndNullptrRestoresTheDefault();
    void firstSoundBringsQtMultimediaIn();
    void brokenFilesNeverFail_data();
    void brokenFilesNeverFail();
    void quickRunOfSoundsReturnsAtOnce();

private:
    QString write(const QString& name, const QByteArray& bytes);

    QTemporaryDir dir_;
};

QString SoundLoadingTest::write(const QString& name, const QByteArray& bytes)
{
    QFile file(dir_.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file");
    return file.fileName();
}

void SoundLoadingTest::startUpLeavesQtMultimediaOut()
{
    forms::soundPlayer();
    QVERIFY(!qtMultimediaMapped());
    QVERIFY(!mapped(QStringLiteral("tavendel_qtsound")));
}

void SoundLoadingTest::injectedPlayerTakesOverAndNullptrRestoresTheDefault()
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
    QVERIFY(!qtMultimediaMapped());

    forms::setSoundPlayer(nullptr);
    QCOMPARE(&forms::soundPlayer(), &standard);
}

void SoundLoadingTest::firstSoundBringsQtMultimediaIn()
{
    forms::soundPlayer().play(sound("si1.wav"));
    QVERIFY(mapped(QStringLiteral("tavendel_qtsound")));
    QVERIFY(qtMultimediaMapped());
    QTest::qWait(100);
}

void SoundLoadingTest::brokenFilesNeverFail_data()
{
    QTest::addColumn<QString>("path");
    QFile original(sound("si2.wav"));
    QVERIFY(original.open(QIODevice::ReadOnly));

    QTest::newRow("missing") << dir_.filePath("missing.wav");
    QTest::newRow("text named .wav") << write("text.wav", "this is not a sound\n");
    QTest::newRow("truncated") << write("truncated.wav", original.read(original.size() / 2));
}

void SoundLoadingTest::brokenFilesNeverFail()
{
    QFETCH(QString, path);
    QVERIFY_THROWS_NO_EXCEPTION(forms::soundPlayer().play(path));
    QTest::qWait(50);
    // Still ready for the next answer.
    QVERIFY_THROWS_NO_EXCEPTION(forms::soundPlayer().play(sound("no.wav")));
}

void SoundLoadingTest::quickRunOfSoundsReturnsAtOnce()
{
    for (int round = 0; round < 5; ++round)
        for (const char* file : {"si1.wav", "si2.wav", "si3.wav", "si4.wav", "no.wav"})
            forms::soundPlayer().play(sound(file));
    QTest::qWait(200);
}

QTEST_MAIN(SoundLoadingTest)
#include "SoundLoadingTest.moc"
