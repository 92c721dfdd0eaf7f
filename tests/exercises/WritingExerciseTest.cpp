// The writing exercise driven through its keys: the numbers of each level
// and how they are shown, the letters the answer box takes, and how typed
// numerals are judged. The menu items and the count limit are code the
// exercises share, tested through the reading exercise.

#include "ExerciseDriver.h"
#include "TestProgram.h"

#include "app/RegistroForme.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/NumberFormat.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include <QAction>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <set>

using Entry = ExerciseDriver::Entry;

namespace {
const QString kForm = QStringLiteral("Form2");
const QString kBox = QStringLiteral("Text1");
const QString kQuestion = QStringLiteral("Label3");
const QString kNext = QStringLiteral("BottoneAvanti");
const QString kRight = QStringLiteral("EtichettaEsatti");
const QString kWrong = QStringLiteral("EtichettaErrati");
const QString kRightFace = QStringLiteral("ComandoIconaSi");
const QString kWrongFace = QStringLiteral("ComandoIconaNo");

bool inPalette(quint32 colour)
{
    const auto& palette = ModuloColoriSuoni::kTavolozza;
    return std::find(palette.begin(), palette.end(), colour) != palette.end();
}

// The locale numbers are grouped by, for one test; the default comes back after.
class LocaleForTest
{
public:
    explicit LocaleForTest(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleForTest() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};
} // namespace

Q_DECLARE_METATYPE(ExerciseDriver::Entry)

class WritingExerciseTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegistraForme(); }

    void questionsOfEachLevel_data();
    void questionsOfEachLevel();
    void numberShownWithTheLocalesGrouping_data();
    void numberShownWithTheLocalesGrouping();
    void whatTheBoxTakes_data();
    void whatTheBoxTakes();
    void answersJudgedByTheirReading_data();
    void answersJudgedByTheirReading();
    void enterOnAnEmptyBoxDoesNothing();
    void bottoneAvantiBringsTheNextQuestion();
    void countsStartAtZeroOnEachVisit();
};

void WritingExerciseTest::questionsOfEachLevel_data()
{
    QTest::addColumn<std::int16_t>("level");
    QTest::addColumn<double>("points");
    QTest::newRow("38") << std::int16_t(38) << 48.0;
    QTest::newRow("88") << std::int16_t(88) << 48.0;
    QTest::newRow("388") << std::int16_t(388) << 48.0;
    QTest::newRow("888") << std::int16_t(888) << 48.0;
    QTest::newRow("3000, smaller number") << std::int16_t(3000) << 36.0;
}

void WritingExerciseTest::questionsOfEachLevel()
{
    QFETCH(std::int16_t, level);
    QFETCH(double, points);
    constexpr int kQuestions = 150;
    TestProgram program(13);
    ExerciseDriver exercise(program, kForm);
    forms::Form& form = exercise.open(level);

    QCOMPARE(exercise.control(kQuestion).fontSize(), points);
    QCOMPARE(exercise.caption(kRight), QStringLiteral("0"));
    QCOMPARE(exercise.caption(kWrong), QStringLiteral("0"));
    QVERIFY(exercise.box()->text().isEmpty());
    QVERIFY(exercise.control(kBox).hasFocus());
    QVERIFY(!exercise.control(kNext).isEnabled());

    std::set<int> numbers;
    std::set<quint32> colours;
    for (int i = 0; i < kQuestions; ++i) {
        const int shown = exercise.shownNumber();
        QVERIFY2(shown >= 1 && shown <= level, qPrintable(exercise.caption(kQuestion)));
        QCOMPARE(exercise.caption(kQuestion), forms::formatGrouped(shown));
        QVERIFY(inPalette(form.backColor()));
        numbers.insert(shown);
        colours.insert(form.backColor());
        exercise.solveAndGoOn();
    }
    QVERIFY(numbers.size() > std::min<std::size_t>(level, kQuestions) / 3);
    QVERIFY(colours.size() > 8);
}

void WritingExerciseTest::numberShownWithTheLocalesGrouping_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<std::int16_t>("number");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("1994, Italian") << italian << std::int16_t(1994) << "1.994" << "MCMXCIV";
    QTest::newRow("1994, English") << english << std::int16_t(1994) << "1,994" << "mcmxciv";
    QTest::newRow("3000, Italian") << italian << std::int16_t(3000) << "3.000" << "MMM";
    QTest::newRow("999, no group") << italian << std::int16_t(999) << "999" << "CM XC IX";
}

void WritingExerciseTest::numberShownWithTheLocalesGrouping()
{
    QFETCH(QLocale, locale);
    QFETCH(std::int16_t, number);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    const LocaleForTest grouping(locale);
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.openAt(3000, number);

    QCOMPARE(exercise.caption(kQuestion), shown);
    exercise.answer(typed);
    QCOMPARE(exercise.caption(kRight), QStringLiteral(" 1"));
}

void WritingExerciseTest::whatTheBoxTakes_data()
{
    QTest::addColumn<std::int16_t>("level");
    QTest::addColumn<Entry>("how");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* name, std::int16_t level, Entry how, const QString& text,
                        const QString& shown) { QTest::newRow(name) << level << how << text << shown; };
    row("38: l refused", 38, Entry::Keys, "l", "");
    row("38: L refused", 38, Entry::Keys, "L", "");
    row("38: c refused", 38, Entry::Keys, "c", "");
    row("38: 5 refused", 38, Entry::Keys, "5", "");
    row("38: x shown as X", 38, Entry::Keys, "x", "X");
    row("38: blanks and backspace", 38, Entry::Keys, "x v i\b", "X V ");
    row("38: its letters only", 38, Entry::Keys, "mdclxvi", "XVI");
    row("88: its letters only", 88, Entry::Keys, "mdclxvi", "LXVI");
    row("388: its letters only", 388, Entry::Keys, "mdclxvi", "CLXVI");
    row("888: its letters only", 888, Entry::Keys, "mdclxvi", "DCLXVI");
    row("3000: small letters", 3000, Entry::Keys, "mdclxvi", "MDCLXVI");
    row("3000: capitals", 3000, Entry::Keys, "MDCLXVI", "MDCLXVI");
    row("3000: digits and signs refused", 3000, Entry::Keys, "m1.d,-c", "MDC");
    row("at most 20 characters", 3000, Entry::Keys, QString(25, QLatin1Char('x')), QString(20, QLatin1Char('X')));
    row("no level: every key", 50, Entry::Keys, "a5?x", "A5?X");
    row("pasted small letters", 38, Entry::Paste, "xxxviii", "XXXVIII");
    row("pasted letters beyond the level", 38, Entry::Paste, "L5 xc", " X");
    row("pasted spaced numeral", 3000, Entry::Paste, "m cm xc iv", "M CM XC IV");
    row("pasted, cut to 20", 38, Entry::Paste, QString(25, QLatin1Char('i')), QString(20, QLatin1Char('I')));
    row("dropped", 38, Entry::Drop, "xLvi5", "XVI");
}

void WritingExerciseTest::whatTheBoxTakes()
{
    QFETCH(std::int16_t, level);
    QFETCH(Entry, how);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.open(level);

    exercise.put(how, text);
    QCOMPARE(exercise.box()->text(), shown);
}

void WritingExerciseTest::answersJudgedByTheirReading_data()
{
    QTest::addColumn<std::int16_t>("level");
    QTest::addColumn<std::int16_t>("number");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("right");
    QTest::newRow("XXXVIII for 38") << std::int16_t(38) << std::int16_t(38) << "XXXVIII" << true;
    QTest::newRow("spaced for 38") << std::int16_t(38) << std::int16_t(38) << "X X X V I I I" << true;
    QTest::newRow("IIX for 8") << std::int16_t(38) << std::int16_t(8) << "IIX" << true;
    QTest::newRow("MCMXCIV for 1994") << std::int16_t(3000) << std::int16_t(1994) << "MCMXCIV" << true;
    QTest::newRow("IIII for 4") << std::int16_t(38) << std::int16_t(4) << "IIII" << false;
    QTest::newRow("XXXVII for 38") << std::int16_t(38) << std::int16_t(38) << "XXXVII" << false;
    QTest::newRow("blanks only") << std::int16_t(38) << std::int16_t(1) << "   " << false;
}

void WritingExerciseTest::answersJudgedByTheirReading()
{
    QFETCH(std::int16_t, level);
    QFETCH(std::int16_t, number);
    QFETCH(QString, typed);
    QFETCH(bool, right);
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.openAt(level, number);

    exercise.answer(typed);

    QCOMPARE(exercise.control(kRightFace).isVisible(), right);
    QCOMPARE(exercise.control(kWrongFace).isVisible(), !right);
    QCOMPARE(exercise.caption(kRight), right ? QStringLiteral(" 1") : QStringLiteral("0"));
    QCOMPARE(exercise.caption(kWrong), right ? QStringLiteral("0") : QStringLiteral(" 1"));
    QCOMPARE(program.sounds().played.size(), 1);
    QVERIFY(program.sounds().played.first().contains(QRegularExpression(
        right ? QStringLiteral("/suoni/si[1-4]\\.wav$") : QStringLiteral("/suoni/no\\.wav$"))));
    QCOMPARE(exercise.box()->text(), typed);
    QCOMPARE(exercise.box()->isEnabled(), !right);
    QCOMPARE(exercise.control(kNext).isEnabled(), right);
    if (right)
        return;
    // A wrong answer stays for correcting, and Enter again counts again.
    QVERIFY(exercise.control(kBox).hasFocus());
    exercise.pressEnter();
    QCOMPARE(exercise.caption(kWrong), QStringLiteral(" 2"));
    QCOMPARE(program.sounds().played.size(), 2);
}

void WritingExerciseTest::enterOnAnEmptyBoxDoesNothing()
{
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.open(38);

    exercise.pressEnter();
    exercise.type(QStringLiteral("x\b"));
    exercise.pressEnter();

    QCOMPARE(exercise.caption(kRight), QStringLiteral("0"));
    QCOMPARE(exercise.caption(kWrong), QStringLiteral("0"));
    QVERIFY(program.sounds().played.isEmpty());
    QVERIFY(exercise.control(kRightFace).isVisible());
}

void WritingExerciseTest::bottoneAvantiBringsTheNextQuestion()
{
    TestProgram program;
    ExerciseDriver exercise(program, kForm);
    exercise.openAt(88, 88);

    exercise.answer(QStringLiteral("LXXXVIII"));
    QVERIFY(!exercise.box()->isEnabled());
    QVERIFY(exercise.control(kNext).isEnabled());

    exercise.seedNextQuestion(49);
    exercise.clickNext();
    QCOMPARE(exercise.caption(kQuestion), QStringLiteral("49"));
    QVERIFY(exercise.box()->isEnabled());
    QVERIFY(exercise.box()->text().isEmpty());
    QVERIFY(exercise.control(kBox).hasFocus());
    QVERIFY(!exercise.control(kNext).isEnabled());
    QVERIFY(exercise.control(kRightFace).isVisible());

    exercise.answer(QStringLiteral("il"));
    QCOMPARE(exercise.caption(kRight), QStringLiteral(" 2"));
}

void WritingExerciseTest::countsStartAtZeroOnEachVisit()
{
    TestProgram program;
    ExerciseDriver reading(program, QStringLiteral("Form1"));
    reading.open(38);
    reading.answer(reading.rightAnswer());
    reading.clickNext();
    reading.answer(reading.wrongAnswer());
    reading.control(QStringLiteral("mnuEsci")).action()->trigger();
    TestProgram::settle();

    ExerciseDriver exercise(program, kForm);
    exercise.open(38);
    QCOMPARE(exercise.caption(kRight), QStringLiteral("0"));
    QCOMPARE(exercise.caption(kWrong), QStringLiteral("0"));
    exercise.answer(exercise.wrongAnswer());
    QCOMPARE(exercise.caption(kWrong), QStringLiteral(" 1"));
    QCOMPARE(exercise.caption(kRight), QStringLiteral("0"));
}

QTEST_MAIN(WritingExerciseTest)
#include "WritingExerciseTest.moc"
