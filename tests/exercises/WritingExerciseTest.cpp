// The writing exercise driven through its keys. The menu items and the
// count limit are code the exercises share, tested with the reading one.

#include "ExerciseDriver.h"

#include "app/RegistroForme.h"
#include "shell/SharedState.h"

#include <QLocale>
#include <QTest>

using Entry = ExerciseDriver::Entry;
Q_DECLARE_METATYPE(ExerciseDriver::Entry)

namespace {
const QString kForm = QStringLiteral("Form2");

struct Answer
{
    std::int16_t level;
    std::int16_t number;
    QString shown;
    QString typed;
    bool right;
    bool strict = false; // only the standard numeral counts
    QLocale locale = QLocale(QLocale::Italian, QLocale::Italy);
};
} // namespace
Q_DECLARE_METATYPE(Answer)

class WritingExerciseTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegistraForme(); }
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void questionsOfEachLevel_data()
    {
        QTest::addColumn<std::int16_t>("level");
        QTest::addColumn<double>("points");
        for (const std::int16_t level : {38, 88, 388, 888})
            QTest::addRow("%d", level) << level << 48.0;
        QTest::newRow("3000, smaller number") << std::int16_t(3000) << 36.0;
    }

    void questionsOfEachLevel()
    {
        QFETCH(std::int16_t, level);
        QFETCH(double, points);
        ExerciseDriver(kForm, 13).verifyQuestions(level, points);
    }

    void whatTheBoxTakes_data()
    {
        QTest::addColumn<std::int16_t>("level");
        QTest::addColumn<Entry>("how");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, int level, const QString& text, const QString& shown,
                            Entry how = Entry::Keys) { QTest::newRow(name) << std::int16_t(level) << how << text << shown; };
        row("38: l, L, c and 5 refused, x made X", 38, "lLc5x", "X");
        row("38: blanks and backspace", 38, "x v i\b", "X V ");
        row("38: its letters only", 38, "mdclxvi", "XVI");
        row("88: its letters only", 88, "mdclxvi", "LXVI");
        row("388: its letters only", 388, "mdclxvi", "CLXVI");
        row("888: its letters only", 888, "mdclxvi", "DCLXVI");
        row("3000: small letters and capitals", 3000, "mDcLxVi", "MDCLXVI");
        row("3000: digits and signs refused", 3000, "m1.d,-c", "MDC");
        row("at most 20 characters", 3000, QString(25, QLatin1Char('x')), QString(20, QLatin1Char('X')));
        row("no level: every key", 50, "a5?x", "A5?X");
        row("pasted: filtered, made capitals", 38, "L5 xxxviii", " XXXVIII", Entry::Paste);
        row("pasted, cut to 20", 38, QString(25, QLatin1Char('i')), QString(20, QLatin1Char('I')), Entry::Paste);
        row("dropped", 38, "xLvi5", "XVI", Entry::Drop);
    }

    void whatTheBoxTakes()
    {
        QFETCH(std::int16_t, level);
        QFETCH(Entry, how);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        ExerciseDriver exercise(kForm);
        exercise.open(level);
        exercise.put(how, text);
        QCOMPARE(exercise.box()->text(), shown);
    }

    void answersJudgedByTheirReading_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("XXXVIII for 38") << Answer{38, 38, "38", "XXXVIII", true};
        QTest::newRow("spaced for 38") << Answer{38, 38, "38", "X X X V I I I", true};
        QTest::newRow("IIX for 8") << Answer{38, 8, "8", "IIX", true};
        QTest::newRow("1994, Italian") << Answer{3000, 1994, "1.994", "MCMXCIV", true};
        QTest::newRow("1994, English, small letters")
            << Answer{3000, 1994, "1,994", "mcmxciv", true, false, QLocale(QLocale::English, QLocale::UnitedStates)};
        QTest::newRow("3000") << Answer{3000, 3000, "3.000", "MMM", true};
        QTest::newRow("999, no group") << Answer{3000, 999, "999", "CM XC IX", true};
        QTest::newRow("IIII for 4") << Answer{38, 4, "4", "IIII", false};
        QTest::newRow("XXXVII for 38") << Answer{38, 38, "38", "XXXVII", false};
        QTest::newRow("blanks only") << Answer{38, 1, "1", "   ", false};
        QTest::newRow("VV for 10") << Answer{38, 10, "10", "VV", true};
        QTest::newRow("strict: VV for 10") << Answer{38, 10, "10", "VV", false, true};
        QTest::newRow("strict: IIX for 8") << Answer{38, 8, "8", "IIX", false, true};
        QTest::newRow("strict: X for 10") << Answer{38, 10, "10", "X", true, true};
        QTest::newRow("strict: spaced, small letters") << Answer{3000, 1994, "1.994", "m cm xc iv", true, true};
    }

    void answersJudgedByTheirReading()
    {
        QFETCH(Answer, answer);
        QLocale::setDefault(answer.locale);
        ExerciseDriver exercise(kForm);
        Stato().setSoloFormaCorretta(answer.strict);
        exercise.openAt(answer.level, answer.number);
        QCOMPARE(exercise.caption(QStringLiteral("Label3")), answer.shown);
        exercise.verifyAnswer(answer.typed, answer.right, answer.typed.toUpper());
        if (!answer.right || QTest::currentTestFailed())
            return;
        exercise.seedNextQuestion(7);
        exercise.clickNext();
        QCOMPARE(exercise.caption(QStringLiteral("Label3")), QStringLiteral("7"));
        QVERIFY(exercise.box()->isEnabled() && exercise.box()->text().isEmpty());
        QVERIFY(exercise.control(QStringLiteral("Text1")).hasFocus());
        QVERIFY(!exercise.control(QStringLiteral("BottoneAvanti")).isEnabled());
        QCOMPARE(exercise.faces(), QStringLiteral("si"));
        exercise.answer(QStringLiteral("vii"));
        QCOMPARE(exercise.counts(), QStringLiteral(" 2/0"));
    }
};

QTEST_MAIN(WritingExerciseTest)
#include "WritingExerciseTest.moc"
