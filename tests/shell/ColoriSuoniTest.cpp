// The feedback of every answer: the palette's colours drawn fairly, and the
// sounds played only when they are switched on, from the program's folder.

#include "TestProgram.h"

#include "forms/Random.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include <QHash>
#include <QTest>

using namespace ModuloColoriSuoni;

namespace {
constexpr int kDraws = 36000; // 2000 for each of the 18 entries
constexpr int kPerEntry = kDraws / 18;
// Far beyond chance (about 4.5 standard deviations) for these counts.
constexpr int kTolerance = 200;
} // namespace

class ColoriSuoniTest : public QObject
{
    Q_OBJECT

private slots:
    void paletteDrawsEveryEntryAlike()
    {
        TestProgram program(20030907);
        QHash<std::uint32_t, int> counts;
        for (int i = 0; i < kDraws; ++i)
            ++counts[ColoreCasuale()];
        QCOMPARE(counts.size(), 16);
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            // Orange and pale magenta stand twice in the table.
            const bool twice = it.key() == 0x0080FF || it.key() == 0xFFC0FF;
            const auto entries = std::count(kTavolozza.begin(), kTavolozza.end(), it.key());
            QCOMPARE(entries, twice ? 2 : 1);
            QVERIFY2(std::abs(it.value() - entries * kPerEntry) < kTolerance * entries,
                     qPrintable(QStringLiteral("%1 drawn %2 times").arg(it.key(), 0, 16).arg(it.value())));
        }
    }

    void rightAnswersPlayTheFourFilesAlike()
    {
        TestProgram program(11);
        constexpr int kAnswers = 8000;
        for (int i = 0; i < kAnswers; ++i)
            SuonoEsatto();
        QHash<QString, int> counts;
        for (const QString& path : program.sounds().played)
            ++counts[path];
        QCOMPARE(counts.size(), 4);
        for (int n = 1; n <= 4; ++n) {
            const QString path = program.folder() + QStringLiteral("/suoni/si%1.wav").arg(n);
            QVERIFY2(std::abs(counts.value(path) - kAnswers / 4) < kTolerance, qPrintable(path));
        }
    }

    // The wrong-answer sound, and silence, take nothing from the generator.
    void soundsWithoutADraw_data()
    {
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("switchedOn");
        QTest::addColumn<QString>("played"); // in the program's folder; empty for none

        QTest::newRow("SuonoErrato plays no.wav") << false << true << "/suoni/no.wav";
        QTest::newRow("SuonoEsatto switched off") << true << false << "";
        QTest::newRow("SuonoErrato switched off") << false << false << "";
    }
    void soundsWithoutADraw()
    {
        QFETCH(bool, right);
        QFETCH(bool, switchedOn);
        QFETCH(QString, played);

        TestProgram program(7);
        const float next = forms::rnd();
        forms::randomize(7);
        Stato().setSuoniAttivati(switchedOn);
        right ? SuonoEsatto() : SuonoErrato();
        QCOMPARE(program.sounds().played, played.isEmpty() ? QStringList() : QStringList{program.folder() + played});
        QCOMPARE(forms::rnd(), next);
    }
};

QTEST_MAIN(ColoriSuoniTest)
#include "ColoriSuoniTest.moc"
